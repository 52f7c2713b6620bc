// Measures the page's frame time in headless chromium: the sample scene, or MODEL opened through
// the file input. Not a test: it reports, for comparison with `walkthrough-shot --bench`.
//   node frame-time.mjs [MODEL.3ds] [FRAMES]     (WALKTHROUGH_WEB_DIR as for the test)
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {launchChromium, serve} from './browser.mjs';

const repository = path.resolve(import.meta.dirname, '../..');
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
      {timeout: 0, polling: 5});
  await waitForFrame(3);
  if (model) {
    await page.setInputFiles('#file', model);
    await waitForFrame((await frameShown()) + 3);  // read, uploaded and drawn once
  }
  const first = await frameShown();
  const start = performance.now();
  await waitForFrame(first + frames);
  const milliseconds = (performance.now() - start) / frames;
  console.log(`${model || 'the sample scene'}: ${milliseconds.toFixed(1)} ms per frame ` +
              `over ${frames} frames`);
} finally {
  await browser.close();
  server.close();
  fs.rmSync(userDataDir, {recursive: true, force: true});
}
