// Measures the page's frame time in headless chromium: the sample scene, or MODEL opened through
// the file input. Not a test: it reports the median and the mean time between shown frames, for
// comparison with `walkthrough-shot --bench`. It looks at the page seldom, so as not to load it.
//   node scripts/web-frame-time.mjs [MODEL.3ds] [FRAMES]   (WALKTHROUGH_WEB_DIR as for the test;
//   after `npm ci` in tests/web, whose browser it shares)
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {launchChromium, serve} from '../tests/web/browser.mjs';

const repository = path.resolve(import.meta.dirname, '..');
const pageDir = path.resolve(process.env.WALKTHROUGH_WEB_DIR || path.join(repository, 'build-web'));
const [model, framesArgument] = process.argv.slice(2);
const frames = Number(framesArgument || 50);

const server = serve(pageDir);
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), 'walkthrough-chromium-'));
const browser = await launchChromium(userDataDir);
try {
  const page = await browser.newPage();
  await page.goto(`http://127.0.0.1:${server.address().port}/index.html`);
  const frameShown = () => page.evaluate(() => Number(document.documentElement.dataset.frame || 0));
  const waitForFrame = (frame) => page.waitForFunction(
      (at) => Number(document.documentElement.dataset.frame || 0) >= at, frame,
      {timeout: 0, polling: 100});
  await waitForFrame(3);
  if (model) {
    await page.setInputFiles('#file', model);
    await waitForFrame((await frameShown()) + 3);  // read, uploaded and drawn once
  }
  // When each frame is shown, from the frame count's changes.
  await page.evaluate(() => {
    window.frameTimes = [];
    new MutationObserver(() => window.frameTimes.push(performance.now()))
        .observe(document.documentElement, {attributeFilter: ['data-frame']});
  });
  await waitForFrame((await frameShown()) + frames + 1);
  const times = await page.evaluate(() => window.frameTimes);
  const intervals = times.slice(1).map((time, i) => time - times[i]).sort((a, b) => a - b);
  const median = intervals[Math.floor(intervals.length / 2)];
  const mean = (times[times.length - 1] - times[0]) / intervals.length;
  console.log(`${model || 'the sample scene'}: median ${median.toFixed(1)} ms, mean ` +
              `${mean.toFixed(1)} ms per frame over ${intervals.length} frames`);
} finally {
  await browser.close();
  server.close();
  fs.rmSync(userDataDir, {recursive: true, force: true});
}
