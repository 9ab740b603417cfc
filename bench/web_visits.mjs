// What a visit to the web site costs: the time from navigation to the first menu frame, and the bytes the
// browser fetches, on a first visit (until the menu shows, and in all once the service worker has its copy of
// the site) and on a second visit. Several first visits, each in a new browser whose software rasteriser and
// sound have started beforehand (tests/web/harness.mjs, warmGraphics); prints each and the medians.
// Usage: node web_visits.mjs <web build folder> [visits]
// Depends on tests/web/harness.mjs (the site served, the browser, the menu's pixels) and the DevTools protocol's
// network events (bytes as they came over the connection).
import { launch, menuDrawnAfter, openPage, serveSite, warmGraphics } from '../tests/web/harness.mjs';

if (process.argv[2]) process.env.QUORLIX_WEB_BUILD = process.argv[2];
const visits = Number(process.argv[3] || 5);

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Counts the bytes of every response that came over the connection to the page (not from the service worker's
// copy); the service worker's own fetches are counted apart, by what it keeps.
async function countBytes(page) {
  let bytes = 0;
  const fromWorker = new Set();
  const session = await page.context().newCDPSession(page);
  await session.send('Network.enable');
  session.on('Network.responseReceived', (event) => {
    if (event.response.fromServiceWorker) fromWorker.add(event.requestId);
  });
  session.on('Network.loadingFinished', (event) => {
    if (!fromWorker.has(event.requestId)) bytes += event.encodedDataLength;
  });
  return () => bytes;
}

const {server, url} = await serveSite({program: 'site'});
const times = [], untilMenu = [], firstVisit = [], secondVisit = [];
try {
  for (let visit = 0; visit < visits; ++visit) {
    const browser = await launch();
    try {
      await warmGraphics(browser);
      const {page} = await openPage(browser, {width: 640, height: 480});
      const bytes = await countBytes(page);
      await page.goto(url, {waitUntil: 'commit'});
      const drawn = await menuDrawnAfter(page);
      times.push(Math.round(drawn));
      untilMenu.push(bytes());
      // The service worker is registered a few seconds after the page loads, then copies the whole site.
      await page.evaluate(() => navigator.serviceWorker.ready);
      await page.waitForFunction(() => navigator.serviceWorker.controller !== null, null, {timeout: 30000});
      const cachedFiles = await page.evaluate(async () => {
        let count = 0;
        for (const name of await caches.keys()) count += (await (await caches.open(name)).keys()).length;
        return count;
      });
      const swBytes = await page.evaluate(async () => {
        let total = 0;
        for (const name of await caches.keys()) {
          const cache = await caches.open(name);
          for (const request of await cache.keys()) total += (await (await cache.match(request)).arrayBuffer()).byteLength;
        }
        return total;
      });
      firstVisit.push(bytes() + swBytes);
      const before = bytes();
      await page.reload({waitUntil: 'commit'});
      await menuDrawnAfter(page);
      await page.waitForTimeout(2000);
      secondVisit.push(bytes() - before);
      console.log(`visit ${visit + 1}: menu after ${times.at(-1)} ms; ${untilMenu.at(-1)} bytes until the menu, ` +
                  `${firstVisit.at(-1)} bytes with the service worker's copy (${cachedFiles} files); second visit ` +
                  `${secondVisit.at(-1)} bytes`);
    } finally {
      await browser.close();
    }
  }
} finally {
  server.close();
}
console.log(`medians of ${visits}: menu after ${median(times)} ms (fastest ${Math.min(...times)}, slowest ` +
            `${Math.max(...times)}); first visit ${median(untilMenu)} bytes until the menu, ${median(firstVisit)} ` +
            `with the service worker's copy; second visit ${median(secondVisit)} bytes`);
