// SPDX-License-Identifier: MIT
// A static file server on 127.0.0.1 for the browser game: the first of the
// folders that has a requested file serves it. Used by scripts/play-web and
// the browser test (tests/web/browser-test.js).
//   node web/serve.js PORT FOLDER...
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };

// Starts serving `folders` on `port` (0: any free one); calls ready(server).
function serve(port, folders, ready) {
  const server = http.createServer((request, response) => {
    const name = path.normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    for (const folder of folders) {
      const file = path.join(folder, name === '/' ? 'index.html' : name);
      if (file.startsWith(path.resolve(folder)) && fs.existsSync(file) && fs.statSync(file).isFile()) {
        const type = TYPES[path.extname(file)] || 'application/octet-stream';
        response.writeHead(200, { 'Content-Type': type, 'Cache-Control': 'no-store' });
        response.end(fs.readFileSync(file));
        return;
      }
    }
    response.writeHead(404);
    response.end();
  });
  server.listen(port, '127.0.0.1', () => ready(server));
}

if (require.main === module) {
  const [port, ...folders] = process.argv.slice(2);
  serve(Number(port), folders.map((folder) => path.resolve(folder)), (server) => {
    console.log(`Zarvel: open http://127.0.0.1:${server.address().port}/ (Ctrl+C stops it)`);
  });
}
module.exports = { serve };
