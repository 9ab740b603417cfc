// Writes the site's service worker (sw.js): every file of the site precached at its revision, so that a second
// visit plays with no connection at all, and a changed file is fetched anew at the next visit after it changed.
// Usage: node build-service-worker.mjs <site folder>
// Depends on workbox-build (web/package.json), which makes the worker and its precache list.
import { generateSW } from 'workbox-build';

const site = process.argv[2];
if (!site) {
  console.error('usage: node build-service-worker.mjs <site folder>');
  process.exit(2);
}
const { count, size, warnings } = await generateSW({
  globDirectory: site,
  // NOTE: quorlix-*.js holds the page's script (quorlix-page.js) and the art's decoder; quorlix-*.data and .json
  // the packages and their lists of files; art-levels.js is the art levels the page reads before its script.
  globPatterns: ['index.html', 'art-levels.js', 'manifest.webmanifest', 'quorlix.{js,wasm}',
                 'quorlix-*.{js,data,json}', 'icons/*.png'],
  // NOTE: never the compressed copies beside the files (web/compress-site.mjs): the browser decodes what the
  // server sends compressed, so each file is kept once, and a copy precached too would be fetched twice.
  globIgnores: ['**/*.br', '**/*.gz'],
  swDest: `${site}/sw.js`,
  // NOTE: the art of the largest level is a package of over 2 MB, and is as much the game as its program.
  maximumFileSizeToCacheInBytes: 16 * 1024 * 1024,
  // The page asks for itself as its folder; both names are the one precached page.
  directoryIndex: 'index.html',
  ignoreURLParametersMatching: [/.*/],
  inlineWorkboxRuntime: true,
  mode: 'production',
  sourcemap: false,
  // NOTE: a new version waits while a page of the old one is open, so a running page never gets its later
  // files from another version; the page offers to reload when one is ready, and tells the waiting worker to
  // take over (the message SKIP_WAITING, which a worker made without skipWaiting answers). The first worker
  // controls the page that registered it at once: there is no other version to mix with.
  skipWaiting: false,
  clientsClaim: true,
  cleanupOutdatedCaches: true,
});
for (const warning of warnings) console.warn(warning);
if (warnings.length > 0) process.exit(1);
console.log(`service worker: ${count} files, ${size} bytes precached`);
