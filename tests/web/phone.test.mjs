// A first visit as a phone sees it (Lighthouse's mobile profile: a 412 x 823 screen at 1.75, 1.6 Mbps down,
// 150 ms latency, the processor slowed four times), served as a compressing host serves it: the menu drawn
// within 10 s of navigation, under a megabyte downloaded before it; the game starts on the smallest art (a soft
// menu) and the art the screen wants follows while the menu runs, with no loading screen between the two.
// NOTE: loose bounds, to catch a first visit that downloads the large art again before the menu; the figures
// themselves are the phone benchmark's (make bench-web-phone).
import {
  assert, emulatePhone, menuDrawnAfter, openPage, screenshot, view, waitForView, withBrowsing,
} from './harness.mjs';

const started = Date.now();
await withBrowsing(async ({url, browser}) => {
  const context = await browser.newContext({viewport: null});
  const {page, errors} = await openPage(browser, {context});
  const session = await context.newCDPSession(page);
  await emulatePhone(session);
  await page.goto(url, {waitUntil: 'commit'});
  const menu = await menuDrawnAfter(page, 30000);
  assert.ok(menu >= 0 && menu <= 10000, `the menu was drawn ${Math.round(menu)} ms after navigation`);
  // Every response finished by then, as it came over the connection (headers and compressed body).
  const bytes = await page.evaluate((until) => performance.getEntries()
    .filter((entry) => entry.transferSize !== undefined && entry.responseEnd <= until)
    .reduce((sum, entry) => sum + entry.transferSize, 0), menu);
  assert.ok(bytes > 0 && bytes < 1024 * 1024, `${bytes} bytes were downloaded before the menu`);

  const first = await view(page);
  assert.equal(first.hdLevel, 1, 'the first art is the smallest');
  await screenshot(page, 'phone-menu-first-art', session);
  let loadingAgain = false;
  const sharp = await waitForView(page, (v) => {
    if (v.loading !== 0) loadingAgain = true;
    return v.hdLevel === 4;
  }, 'the art the screen wants', {timeout: 90000});
  assert.ok(!loadingAgain, 'the loading screen came back for the sharp art');
  assert.equal(sharp.state, 1, 'the menu runs on');
  assert.equal(await page.evaluate(() => Module.quorlix.artShown), 4, 'the page is told of the level shown');
  await page.waitForTimeout(500);
  await screenshot(page, 'phone-menu-sharp-art', session);
  assert.doesNotMatch(await page.locator('#notice').textContent(), /\/data\//);
  assert.deepEqual(errors, []);
  console.log(`phone: the menu after ${Math.round(menu)} ms with ${Math.round(bytes / 1024)} KiB before it, then ` +
              `the sharp art without loading again, in ${(Date.now() - started) / 1000} s`);
});
