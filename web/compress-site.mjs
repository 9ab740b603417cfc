// Writes a brotli (.br) and a gzip (.gz) copy beside each file of the site that compresses, for a server that
// sends them to a browser that accepts them (web/serve.mjs does); the last step of the site's build.
// Usage: node compress-site.mjs <site folder>  (prints each file's size plain, gzip and brotli)
// Depends on Node.js alone (its zlib).
// NOTE: text and the WebAssembly program always compress; the art and sounds' packages (.data) hold PNGs, which
// are compressed already, and sounds, which are not: a file of another kind keeps its copies only when they save
// a real share of it (kMinSaving), judged by its gzip copy, so that brotli's slow best quality is spent on such
// a file only when it pays. Copies that belong to no file, or to a file that no longer compresses, are removed.
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';

// The kinds of file that are text (brotli's text mode suits them), and the other kinds that always compress.
const kText = new Set(['.html', '.js', '.mjs', '.css', '.json', '.webmanifest', '.svg', '.txt']);
const kAlways = new Set(['.wasm']);
const kMinSaving = 0.1;
const kCopies = ['.br', '.gz'];

const site = process.argv[2];
if (!site || !fs.existsSync(site)) {
  console.error('usage: node compress-site.mjs <site folder>');
  process.exit(2);
}

// Every file under folder, compressed copies included.
function filesIn(folder) {
  return fs.readdirSync(folder, {withFileTypes: true}).flatMap((entry) => {
    const file = path.join(folder, entry.name);
    return entry.isDirectory() ? filesIn(file) : [file];
  });
}

// Writes a file whole or not at all: a build stopped halfway leaves no truncated copy for the server to send.
function writeWhole(file, bytes) {
  fs.writeFileSync(`${file}.part`, bytes);
  fs.renameSync(`${file}.part`, file);
}

const files = filesIn(site);
const originals = files.filter((file) => !kCopies.includes(path.extname(file)) && !file.endsWith('.part'));
const kept = new Set();
const rows = [];
for (const file of originals) {
  const plain = fs.readFileSync(file);
  const kind = path.extname(file);
  const gzip = zlib.gzipSync(plain, {level: 9});
  if (!kText.has(kind) && !kAlways.has(kind) && gzip.length > plain.length * (1 - kMinSaving)) {
    rows.push([file, plain.length, gzip.length, null]);
    continue;
  }
  const brotli = zlib.brotliCompressSync(plain, {params: {
    [zlib.constants.BROTLI_PARAM_QUALITY]: zlib.constants.BROTLI_MAX_QUALITY,
    [zlib.constants.BROTLI_PARAM_MODE]: kText.has(kind) ? zlib.constants.BROTLI_MODE_TEXT
                                                         : zlib.constants.BROTLI_MODE_GENERIC,
    [zlib.constants.BROTLI_PARAM_SIZE_HINT]: plain.length,
  }});
  writeWhole(`${file}.br`, brotli);
  writeWhole(`${file}.gz`, gzip);
  kept.add(`${file}.br`).add(`${file}.gz`);
  rows.push([file, plain.length, gzip.length, brotli.length]);
}
for (const file of files) {
  if ((kCopies.includes(path.extname(file)) && !kept.has(file)) || file.endsWith('.part')) fs.rmSync(file);
}

const width = Math.max(...rows.map(([file]) => path.relative(site, file).length));
console.log(`${'site file'.padEnd(width)}      plain       gzip     brotli`);
for (const [file, plain, gzip, brotli] of rows) {
  const cells = [plain, gzip, brotli ?? 'not kept'].map((cell) => String(cell).padStart(10));
  console.log(`${path.relative(site, file).padEnd(width)} ${cells.join(' ')}`);
}
