// Serves a folder on the loopback as a static host would serve the site: `make web` serves build-web/site with
// it, and the browser tests start it on a free port of their own.
// Usage: node serve.mjs <folder> [port]  (port 0, the default, takes a free one); prints the address it serves.
// Depends on Node.js alone.
// NOTE: the one header the site needs is the WebAssembly type, which lets the browser compile the program while
// it still downloads. The service worker's own script is never taken from the browser's cache, so a new version
// of the site is seen at the next visit.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// Starts serving root on 127.0.0.1:port; resolves to the server once it listens. overrides maps a path of the
// site ("/quorlix.js") to a file served in its place (the tests' program).
export function serve(root, port = 0, overrides = {}) {
  const base = path.resolve(root);
  const server = http.createServer((request, response) => {
    let name;
    try {
      name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    } catch {
      response.writeHead(400).end();
      return;
    }
    if (name.endsWith('/')) name += 'index.html';
    const file = overrides[name] || path.join(base, name);
    if (!overrides[name] && !file.startsWith(base + path.sep)) {
      response.writeHead(403).end();
      return;
    }
    fs.readFile(file, (error, body) => {
      if (error) {
        response.writeHead(404, {'Content-Type': 'text/plain'}).end('not found');
        return;
      }
      const headers = {'Content-Type': kTypes[path.extname(file)] || 'application/octet-stream'};
      if (name === '/sw.js') headers['Cache-Control'] = 'no-cache';
      response.writeHead(200, headers).end(request.method === 'HEAD' ? undefined : body);
    });
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve(server));
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const [root, port = '0'] = process.argv.slice(2);
  if (!root || !fs.existsSync(path.join(root, 'index.html'))) {
    console.error('usage: node serve.mjs <site folder> [port]  (the folder holds index.html)');
    process.exit(2);
  }
  const server = await serve(root, Number(port));
  console.log(`Quorlix is served at http://127.0.0.1:${server.address().port}/ (Ctrl+C stops it)`);
}
