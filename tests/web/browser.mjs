// What the browser test and the frame-time measurement share: a server of the page's folder on
// 127.0.0.1 and Debian's chromium, headless, with WebGL on its software renderer.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import {chromium} from 'playwright-core';

const contentTypes = {
  '.html': 'text/html',
  '.js': 'text/javascript',
  '.wasm': 'application/wasm',
  '.wav': 'audio/wav',
};

export function serve(root) {
  return http.createServer((request, response) => {
    const file = path.join(root, path.normalize(decodeURIComponent(
        new URL(request.url, 'http://page').pathname)));
    if (!file.startsWith(root)) {
      response.writeHead(403).end();
      return;
    }
    fs.readFile(file, (error, body) => {
      if (error) {
        response.writeHead(404).end();
        return;
      }
      const type = contentTypes[path.extname(file)] || 'application/octet-stream';
      response.writeHead(200, {'Content-Type': type}).end(body);
    });
  });
}

// A fresh profile in userDataDir, which the caller removes.
export function launchChromium(userDataDir) {
  return chromium.launchPersistentContext(userDataDir, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    viewport: {width: 860, height: 800},
    args: ['--headless=new', '--no-sandbox', '--use-angle=swiftshader',
           '--enable-unsafe-swiftshader', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--no-first-run'],
  });
}
