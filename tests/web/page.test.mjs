// The web page in headless chromium: the sample scene's frame, and a textured model's picked
// through the file input, against the desktop pictures of the same frames; a dropped model,
// walking with W, G switching a dropped model between flying and walking, a damaged and a
// non-3DS file reported in the page, and no console errors.
//   WALKTHROUGH_WEB_DIR   the built page (default: build-web)
//   WALKTHROUGH_SHOT      the desktop walkthrough-shot (default: build/walkthrough-shot)
//   WALKTHROUGH_WEB_MODELS make-sample's scene in sample/ and its textured one in textured/
//                         (default: build/web-models)
import {after, before, test} from 'node:test';
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {launchChromium, serve} from './browser.mjs';
import {readPng} from './png.mjs';

const repository = path.resolve(import.meta.dirname, '../..');
const pageDir = path.resolve(process.env.WALKTHROUGH_WEB_DIR || path.join(repository, 'build-web'));
const shotTool = path.resolve(
    process.env.WALKTHROUGH_SHOT || path.join(repository, 'build/walkthrough-shot'));
const models = path.resolve(
    process.env.WALKTHROUGH_WEB_MODELS || path.join(repository, 'build/web-models'));
const sampleFile = path.join(models, 'sample/kelm.3ds');
const texturedDir = path.join(models, 'textured');

// As the picture tests: a channel may be 2/255 off, and 0.5 % of the pixels more than that.
const kChannelTolerance = 2;
const kMaxDifferingFraction = 0.005;
const kComparedFrame = 200;

let server;
let origin;
let browserContext;
let userDataDir;
const consoleErrors = [];

before(async () => {
  server = serve(pageDir);
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  origin = `http://127.0.0.1:${server.address().port}`;
  userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), 'walkthrough-chromium-'));
  browserContext = await launchChromium(userDataDir);
});

after(async () => {
  await browserContext?.close();
  server?.close();
  if (userDataDir) {
    fs.rmSync(userDataDir, {recursive: true, force: true});
  }
});

async function openPage(query = '') {
  const page = await browserContext.newPage();
  page.on('console', (message) => {
    if (message.type() === 'error') {
      consoleErrors.push(message.text());
    }
  });
  page.on('pageerror', (error) => consoleErrors.push(error.message));
  await page.goto(`${origin}/index.html${query}`);
  return page;
}

const frameShown = (page) => page.evaluate(() => Number(document.documentElement.dataset.frame || 0));

async function waitForFrame(page, frame) {
  await page.waitForFunction((at) => Number(document.documentElement.dataset.frame || 0) >= at,
                             frame, {timeout: 120000});
}

async function waitFrames(page, count) {
  await waitForFrame(page, (await frameShown(page)) + count);
}

async function readFrame(page) {
  const frame = await page.evaluate(() => Module.readFrame());
  return {width: frame.width, height: frame.height, rgb: Buffer.from(frame.rgb, 'base64')};
}

function differingFraction(actual, expected) {
  if (actual.width !== expected.width || actual.height !== expected.height) {
    return 1;
  }
  let differing = 0;
  for (let i = 0; i < actual.rgb.length; ++i) {
    if (Math.abs(actual.rgb[i] - expected.rgb[i]) > kChannelTolerance) {
      ++differing;
    }
  }
  return 3 * differing / actual.rgb.length;
}

// The desktop's picture of a frame: of the sample scene as the walk-through's own, or of `model`
// as a named model.
function desktopPicture(frame, model = null) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'walkthrough-shot-'));
  try {
    fs.copyFileSync(sampleFile, path.join(folder, 'kelm.3ds'));
    const named = model ? ['--model', model] : [];
    execFileSync(shotTool, [...named, '--frames', String(frame), '-o', 'frame.png'],
                 {cwd: folder, env: {...process.env, LIBGL_ALWAYS_SOFTWARE: '1'}});
    return readPng(fs.readFileSync(path.join(folder, 'frame.png')));
  } finally {
    fs.rmSync(folder, {recursive: true, force: true});
  }
}

// A file for the page: its name and its bytes.
const fileOf = (name, bytes) => ({name, mimeType: 'application/octet-stream', buffer: bytes});

async function pickFiles(page, files) {
  await page.setInputFiles('#file', files);
}

async function dropFiles(page, files) {
  const encoded = files.map((file) => ({name: file.name, data: file.buffer.toString('base64')}));
  await page.evaluate((dropped) => {
    const transfer = new DataTransfer();
    for (const file of dropped) {
      const bytes = Uint8Array.from(atob(file.data), (c) => c.charCodeAt(0));
      transfer.items.add(new File([bytes], file.name));
    }
    document.body.dispatchEvent(new DragEvent('drop', {dataTransfer: transfer, bubbles: true}));
  }, encoded);
}

const problemsShown = (page) => page.locator('#problems').textContent();

function assertAlike(t, actual, expected) {
  const fraction = differingFraction(actual, expected);
  t.diagnostic(`${(fraction * 100).toFixed(3)} % of the pixels differ by more than ${kChannelTolerance}`);
  assert.ok(fraction <= kMaxDifferingFraction,
            `${(fraction * 100).toFixed(2)} % of the pixels differ by more than ${kChannelTolerance}`);
}

test('the sample scene at a frame matches the desktop picture of that frame', async (t) => {
  const page = await openPage(`?frames=${kComparedFrame}`);
  await page.waitForSelector('html[data-stopped]', {timeout: 120000});
  await page.screenshot({path: path.join(repository, 'docs/web-page.png')});
  assertAlike(t, await readFrame(page), desktopPicture(kComparedFrame));
  await page.close();
});

// Late enough for the light to show the textured model's colours through the fog.
const kLitFrame = 600;
const texturedFiles = () => fs.readdirSync(texturedDir).map(
    (name) => fileOf(name, fs.readFileSync(path.join(texturedDir, name))));

test('a model picked with its textures is drawn as the desktop draws it', async (t) => {
  const page = await openPage(`?frames=${kLitFrame}`);
  await waitForFrame(page, 3);
  await pickFiles(page, texturedFiles());
  await page.waitForSelector('html[data-stopped]', {timeout: 120000});
  assert.equal(await problemsShown(page), '');
  assertAlike(t, await readFrame(page),
              desktopPicture(kLitFrame, path.join(texturedDir, 'kelm.3ds')));
  await page.close();
});

test('W held walks away from where the desktop picture of the same frame stands', async () => {
  const frames = 60;
  const page = await openPage(`?frames=${frames}`);
  await waitForFrame(page, 5);
  await page.keyboard.down('w');
  await page.waitForSelector('html[data-stopped]', {timeout: 120000});
  await page.keyboard.up('w');
  const fraction = differingFraction(await readFrame(page), desktopPicture(frames));
  assert.ok(fraction > 0.05, `only ${(fraction * 100).toFixed(2)} % of the pixels moved`);
  await page.close();
});

test('a dropped model is shown', async () => {
  const page = await openPage();
  await waitForFrame(page, 3);
  const before = await readFrame(page);
  await dropFiles(page, texturedFiles());
  await waitFrames(page, 5);
  assert.ok(differingFraction(await readFrame(page), before) > 0.1, 'the model is not shown');
  assert.equal(await problemsShown(page), '');
  await page.close();
});

test('G switches a dropped model between flying and walking, the title says which, F12 saves', async () => {
  const page = await openPage();
  await waitForFrame(page, 3);
  await dropFiles(page, texturedFiles());
  const titled = (mode) => page.waitForFunction(
      (shown) => document.getElementById('title').textContent === `kelm.3ds - ${shown}`,
      mode === 'walking' ? 'walking (G: fly)' : 'flying (G: walk)', {timeout: 60000});
  await titled('flying');
  await page.keyboard.press('g');
  await titled('walking');
  assert.equal(await page.title(), 'kelm.3ds - walking (G: fly)');
  await page.keyboard.press('g');
  await titled('flying');
  // F12 saves the picture: the browser downloads it, named after the model and the time.
  const download = page.waitForEvent('download', {timeout: 60000});
  await page.keyboard.press('F12');
  assert.match((await download).suggestedFilename(), /^kelm \d{4}-\d\d-\d\d \d\d-\d\d-\d\d\.png$/);
  await page.close();
});

test('a damaged model and a file that is not one are reported in the page', async () => {
  const page = await openPage();
  await waitForFrame(page, 2);
  const sample = fs.readFileSync(sampleFile);
  const damaged = Buffer.from(sample);
  damaged.fill(0xee, 2000, 2600);  // inside the first mesh's vertex list and what follows
  await pickFiles(page, [fileOf('damaged.3ds', damaged)]);
  await page.waitForFunction(() => document.getElementById('problems').textContent !== '');
  assert.match(await problemsShown(page), /damaged\.3ds: damaged; the reader passed over/);

  await pickFiles(page, [fileOf('notes.txt', Buffer.from('not a model at all\n'))]);
  await page.waitForFunction(() => /notes\.txt/.test(document.getElementById('problems').textContent));
  assert.match(await problemsShown(page), /notes\.txt is not a 3DS model: it begins with/);
  await waitFrames(page, 3);  // still running
  await page.close();
});

test('the console shows no errors', () => {
  assert.deepEqual(consoleErrors, []);
});
