// The site's server (web/serve.mjs) sending the compressed copies the build writes beside the site's files, with
// no browser: for the page, the program's script and its WebAssembly, brotli or gzip as the request accepts,
// each decoding to exactly the plain file's bytes, with the file's type and the sent length; the plain file when
// neither is accepted; a HEAD with the same headers and no body. Also: the choice among codings by weight; the
// tests' program served in the site's place (no copies beside it) sent plain; a copy older than its file never
// sent; and the service worker precaching no copy.
// Depends on web/serve.mjs, node's http client and zlib, and the web build named by QUORLIX_WEB_BUILD.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { acceptedCodings, serve } from '../../web/serve.mjs';

const build = process.env.QUORLIX_WEB_BUILD;
const site = path.join(build, 'site');
assert.ok(fs.existsSync(path.join(site, 'index.html')), `no web site at QUORLIX_WEB_BUILD=${build}`);

// One request; answers the status, headers and the body's bytes as sent.
function request(port, name, {method = 'GET', accept} = {}) {
  return new Promise((resolve, reject) => {
    const headers = accept === undefined ? {} : {'Accept-Encoding': accept};
    http.request({host: '127.0.0.1', port, path: name, method, headers}, (response) => {
      const chunks = [];
      response.on('data', (chunk) => chunks.push(chunk));
      response.on('end', () => resolve({status: response.statusCode, headers: response.headers,
                                        body: Buffer.concat(chunks)}));
    }).on('error', reject).end();
  });
}
const kDecode = {br: zlib.brotliDecompressSync, gzip: zlib.gunzipSync};

assert.deepEqual(acceptedCodings('gzip, deflate, br'), ['br', 'gzip']);
assert.deepEqual(acceptedCodings('GZIP;Q=1, Br;q=0.5'), ['gzip', 'br']);
assert.deepEqual(acceptedCodings('br;q=0, *'), ['gzip']);
assert.deepEqual(acceptedCodings('*;q=0.2, gzip;q=0'), ['br']);
assert.deepEqual(acceptedCodings('br;q=2, gzip;q=x, identity'), []);
assert.deepEqual(acceptedCodings(''), []);

const server = await serve(site);
const port = server.address().port;
try {
  for (const [name, file, type] of [['/', 'index.html', 'text/html; charset=utf-8'],
                                    ['/quorlix.js', 'quorlix.js', 'text/javascript; charset=utf-8'],
                                    ['/quorlix.wasm', 'quorlix.wasm', 'application/wasm']]) {
    const plain = fs.readFileSync(path.join(site, file));
    for (const [accept, coding] of [['br', 'br'], ['gzip', 'gzip'], ['gzip;q=0.5, br;q=0.8', 'br'],
                                    [undefined, undefined], ['br;q=0, gzip;q=0', undefined]]) {
      const what = `${name} for Accept-Encoding ${accept}`;
      const got = await request(port, name, {accept});
      assert.equal(got.status, 200, what);
      assert.equal(got.headers['content-type'], type, what);
      assert.equal(got.headers['content-encoding'], coding, what);
      assert.equal(got.headers['vary'], 'Accept-Encoding', what);
      assert.equal(Number(got.headers['content-length']), got.body.length, what);
      assert.ok(coding ? got.body.length < plain.length : true, `${what}: sent compressed`);
      assert.ok((coding ? kDecode[coding](got.body) : got.body).equals(plain), `${what}: the file's bytes`);
      const head = await request(port, name, {method: 'HEAD', accept});
      assert.deepEqual([head.status, head.body.length], [200, 0], `HEAD ${what}`);
      for (const header of ['content-type', 'content-encoding', 'content-length', 'vary']) {
        assert.equal(head.headers[header], got.headers[header], `HEAD ${what}: ${header}`);
      }
    }
  }
  // Bad requests are answered, and the server serves on: a null byte, a path that does not decode, another
  // method.
  for (const [name, method, status] of [['/index.html%00.png', 'GET', 400], ['/%E0%A4%A', 'GET', 400],
                                        ['/', 'POST', 405]]) {
    assert.equal((await request(port, name, {method})).status, status, `${method} ${name}`);
  }
  assert.equal((await request(port, '/')).status, 200, 'served on after them');
  const worker = fs.readFileSync(path.join(site, 'sw.js'), 'utf8');
  assert.ok(worker.includes('"quorlix.wasm"') && !/\.(br|gz)"/.test(worker), 'the worker precaches no copy');
} finally {
  server.close();
}

// The tests' program in the site's place, and a copy left from an earlier version of its file: both plain.
const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'quorlix-serve-'));
try {
  // NOTE: a copy of the program in a folder of its own, with no compressed copies beside it.
  const program = path.join(folder, 'program', 'quorlix-test.wasm');
  fs.mkdirSync(path.dirname(program));
  fs.copyFileSync(path.join(build, 'test-program', 'quorlix-test.wasm'), program);
  fs.writeFileSync(path.join(folder, 'index.html'), 'the new page');
  fs.writeFileSync(path.join(folder, 'index.html.br'), zlib.brotliCompressSync('the old page'));
  fs.utimesSync(path.join(folder, 'index.html.br'), new Date(2000, 1, 1), new Date(2000, 1, 1));
  const other = await serve(folder, 0, {'/quorlix.wasm': program});
  try {
    const wasm = await request(other.address().port, '/quorlix.wasm', {accept: 'br, gzip'});
    assert.equal(wasm.headers['content-encoding'], undefined);
    assert.equal(wasm.headers['content-type'], 'application/wasm');
    assert.ok(wasm.body.equals(fs.readFileSync(program)), 'the override is sent plain');
    const page = await request(other.address().port, '/', {accept: 'br'});
    assert.deepEqual([page.headers['content-encoding'], page.body.toString()], [undefined, 'the new page']);
  } finally {
    other.close();
  }
} finally {
  fs.rmSync(folder, {recursive: true});
}
console.log('serve: the page, script and program sent as brotli, gzip or plain as accepted, and HEAD alike');
