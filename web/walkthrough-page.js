// The page around the program: the problem area, opening picked and dropped files, the sound
// after the first click, and reading the drawn frame back (for tests).
'use strict';

const problems = document.getElementById('problems');
let lastProblem = '';

function showProblem(text) {
  // The program says a refused file twice: on standard error and in its warning.
  const line = text.replace(/^walkthrough: /, '');
  if (line === lastProblem) {
    return;
  }
  lastProblem = line;
  problems.textContent += (problems.textContent ? '\n' : '') + line;
}

let openedCount = 0;

// Writes the files into a new folder of the program's file system, textures beside their model,
// and opens the first .3ds among them (or the first file, which the program then refuses).
async function openFiles(fileList) {
  const files = Array.from(fileList || []);
  if (files.length === 0) {
    return;
  }
  problems.textContent = '';
  lastProblem = '';
  const folder = '/opened/' + (++openedCount);
  Module.FS.mkdirTree(folder);
  for (const file of files) {
    const bytes = new Uint8Array(await file.arrayBuffer());
    Module.FS.writeFile(folder + '/' + file.name, bytes);
  }
  const model = files.find((file) => /\.3ds$/i.test(file.name)) || files[0];
  Module.ccall('walkthrough_open_file', null, ['string'], [folder + '/' + model.name]);
}

let soundName = '';
let clicked = false;

function playOnce() {
  if (clicked && soundName) {
    new Audio(soundName).play().catch(() => {});
    soundName = '';
  }
}

// The drawn frame as RGB rows from the top, base64: what the tests compare.
function readFrame() {
  const canvas = document.getElementById('canvas');
  const gl = canvas.getContext('webgl');
  const width = canvas.width;
  const height = canvas.height;
  const rgba = new Uint8Array(width * height * 4);
  gl.readPixels(0, 0, width, height, gl.RGBA, gl.UNSIGNED_BYTE, rgba);
  let binary = '';
  for (let y = height - 1; y >= 0; --y) {
    for (let x = 0; x < width; ++x) {
      const at = (y * width + x) * 4;
      binary += String.fromCharCode(rgba[at], rgba[at + 1], rgba[at + 2]);
    }
  }
  return {width, height, rgb: btoa(binary)};
}

var Module = {
  canvas: document.getElementById('canvas'),
  print: (text) => console.log(text),
  printErr: (text) => {
    console.warn(text);
    showProblem(text);
  },
  showProblem,
  onAbort: (what) => showProblem('The walk-through stopped: ' + what),
  playAfterFirstClick: (name) => {
    soundName = name;
    playOnce();
  },
  readFrame,
};

document.getElementById('file').addEventListener('change', (event) => {
  openFiles(event.target.files);
});
// Files dropped anywhere on the page open.
const drop = document.getElementById('drop');
window.addEventListener('dragover', (event) => {
  event.preventDefault();
  drop.classList.add('over');
});
window.addEventListener('dragleave', () => drop.classList.remove('over'));
window.addEventListener('drop', (event) => {
  event.preventDefault();
  drop.classList.remove('over');
  openFiles(event.dataTransfer.files);
});
document.getElementById('canvas').addEventListener('click', () => {
  clicked = true;
  playOnce();
});
window.addEventListener('error', (event) => showProblem(String(event.message)));
