// Serves a folder on the loopback as a static host would serve the site: `make web` serves build-web/site with
// it, and the browser tests start it on a free port of their own.
// Usage: node serve.mjs <folder> [port]  (port 0, the default, takes a free one); prints the address it serves.
// Depends on Node.js alone; sends the compressed copies web/compress-site.mjs writes beside the site's files.
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
  '.json': 'application/json',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// The content codings sent, each as a copy beside its file with the given suffix; first the one preferred when a
// browser accepts both as much.
const kCodings = [['br', '.br'], ['gzip', '.gz']];

// The codings of kCodings an Accept-Encoding header accepts, best first: by their weight (q), then in kCodings'
// order. A coding weighted 0 is refused; "*" weighs every coding the header does not name; no header, or an
// empty one, accepts none of them.
export function acceptedCodings(header = '') {
  const weights = new Map();
  for (const element of header.split(',')) {
    const [coding, ...params] = element.split(';').map((part) => part.trim().toLowerCase());
    if (!coding) continue;
    let weight = 1;
    for (const param of params) {
      const [key, value = ''] = param.split('=').map((part) => part.trim());
      if (key === 'q') weight = /^(0(\.\d{0,3})?|1(\.0{0,3})?)$/.test(value) ? Number(value) : NaN;
    }
    if (Number.isNaN(weight)) continue;  // a malformed weight: the element says nothing
    const name = coding === 'x-gzip' ? 'gzip' : coding;
    weights.set(name, Math.max(weights.get(name) ?? 0, weight));
  }
  const others = weights.get('*') ?? 0;
  return kCodings.map(([coding], order) => ({coding, order, weight: weights.get(coding) ?? others}))
    .filter(({weight}) => weight > 0)
    .sort((a, b) => b.weight - a.weight || a.order - b.order)
    .map(({coding}) => coding);
}

// The file's size and time, or null when it is not a file.
async function fileStat(file) {
  try {
    const stat = await fs.promises.stat(file);
    return stat.isFile() ? stat : null;
  } catch {
    return null;
  }
}

// Answers one request for the file of the site (or its override) the request names.
async function answer(request, response, base, overrides) {
  if (request.method !== 'GET' && request.method !== 'HEAD') {
    response.writeHead(405, {Allow: 'GET, HEAD'}).end();
    return;
  }
  let name;
  try {
    name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
  } catch {
    name = null;
  }
  // NOTE: a path that does not decode, or holds a null byte (which no file's name can), is a bad request.
  if (name === null || name.includes('\0')) {
    response.writeHead(400).end();
    return;
  }
  if (name.endsWith('/')) name += 'index.html';
  const overridden = Object.hasOwn(overrides, name);
  const file = overridden ? overrides[name] : path.join(base, name);
  if (!overridden && !file.startsWith(base + path.sep)) {
    response.writeHead(403).end();
    return;
  }
  const plain = await fileStat(file);
  if (!plain) {
    response.writeHead(404, {'Content-Type': 'text/plain'}).end('not found');
    return;
  }
  // The copies beside the file; one older than the file is of an earlier version of it (the file was made again
  // and not yet compressed), and is never sent.
  const copies = [];
  for (const [coding, suffix] of kCodings) {
    const stat = await fileStat(file + suffix);
    if (stat && stat.mtimeMs >= plain.mtimeMs) copies.push({coding, file: file + suffix, size: stat.size});
  }
  const accepted = acceptedCodings(request.headers['accept-encoding']);
  const sent = accepted.map((coding) => copies.find((copy) => copy.coding === coding)).find(Boolean)
    || {file, size: plain.size};
  const headers = {'Content-Type': kTypes[path.extname(name)] || 'application/octet-stream'};
  if (sent.coding) headers['Content-Encoding'] = sent.coding;
  if (copies.length > 0) headers['Vary'] = 'Accept-Encoding';
  if (name === '/sw.js') headers['Cache-Control'] = 'no-cache';
  if (request.method === 'HEAD') {
    response.writeHead(200, {...headers, 'Content-Length': sent.size}).end();
    return;
  }
  const body = await fs.promises.readFile(sent.file);
  response.writeHead(200, {...headers, 'Content-Length': body.length}).end(body);
}

// Starts serving root on 127.0.0.1:port; resolves to the server once it listens. overrides maps a path of the
// site ("/quorlix.js") to a file served in its place (the tests' program), compressed only by copies beside it.
export function serve(root, port = 0, overrides = {}) {
  const base = path.resolve(root);
  const server = http.createServer((request, response) => {
    answer(request, response, base, overrides).catch((error) => {
      // NOTE: a file removed or unreadable between its look-up and its reading (a build running beside).
      if (response.headersSent) {
        response.destroy(error);
      } else {
        response.writeHead(500, {'Content-Type': 'text/plain'}).end(String(error));
      }
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
