// The record in IndexedDB, where the browser fails it. Leaving the page for another window (blur) suspends the
// game and saves, and the page's first save asks the browser to keep its storage. With every write then aborted
// by the browser, a save (the page being left: pagehide) tells the player within a second that it could not be
// stored, the record stored before stays whole, and the closing words do not say the progress is saved. The
// ended game gives the one-tab lock up: a new tab keeps the progress, and the ended tab's "Play again" is then
// the second tab. A read of the record that fails part way starts the game without it, saying so.
// Depends on the harness and the test program's view.
import {
  assert, inPlay, menuAtRest, openPage, pauseMenuIn, record, screenshot, storedRecord, tapKey, waitForView,
  withBrowsing,
} from './harness.mjs';

// Makes every call of an object store's method abort its transaction once the call is made, as a browser aborts
// one whose disk fails or whose quota is reached (run in the page).
const abortEach = (method) => {
  const original = IDBObjectStore.prototype[method];
  IDBObjectStore.prototype[method] = function(...args) {
    const request = original.apply(this, args);
    this.transaction.abort();
    return request;
  };
};

const started = Date.now();
await withBrowsing(async ({url, browser}) => {
  const {context, page, errors} = await openPage(browser, {width: 640, height: 480});
  await context.addInitScript(() => {
    window.persistAsked = 0;
    if (navigator.storage) {
      navigator.storage.persist = () => {
        ++window.persistAsked;
        return Promise.resolve(false);
      };
    }
  });
  await page.goto(url, {waitUntil: 'commit'});
  await waitForView(page, menuAtRest, 'the menu');
  await tapKey(page, 'Enter');
  await waitForView(page, inPlay, 'the tutorial');
  // C changes the colour scheme to dark; nothing but leaving the page saves it.
  await tapKey(page, 'KeyC');
  await page.evaluate(() => window.dispatchEvent(new Event('blur')));
  await waitForView(page, (v) => v.paused === 1, 'paused as the window loses the focus');
  const before = await waitForView(page, (fields) => fields && record.setting(fields, 1) === 1,
                                   'the dark scheme stored', {timeout: 10000, look: storedRecord});
  assert.equal(await page.evaluate(() => window.persistAsked), 1, 'the first save asks to keep the storage');
  await page.evaluate(() => window.dispatchEvent(new Event('focus')));

  // Every write aborted as the browser would abort it (a full disk, a quota): the game hears of it.
  await page.evaluate(abortEach, 'put');
  await waitForView(page, pauseMenuIn, 'the pause menu when the window has the focus again');
  await tapKey(page, 'Escape');
  await waitForView(page, inPlay, 'the tutorial again');
  await tapKey(page, 'KeyC');
  const left = Date.now();
  await page.evaluate(() => window.dispatchEvent(new PageTransitionEvent('pagehide', {persisted: true})));
  await page.locator('#notice', {hasText: 'could not be stored'}).waitFor({state: 'visible', timeout: 1000});
  console.log(`store: the failed write told after ${Date.now() - left} ms`);
  assert.match(await page.locator('#notice').innerText(), /the browser said: AbortError/, "the browser's reason");
  await screenshot(page, 'store-write-failed');
  assert.deepEqual(await storedRecord(page), before, 'the record stored before is whole');
  await page.evaluate(() => window.dispatchEvent(new PageTransitionEvent('pageshow', {persisted: true})));
  for (const until = Date.now() + 20000; await page.locator('#ended').isHidden();) {
    assert.ok(Date.now() < until, 'F4 never ended the game');
    await tapKey(page, 'F4');
  }
  const closing = await page.locator('#ended-why').innerText();
  assert.doesNotMatch(closing, /progress is saved/);
  assert.match(closing, /could not be stored/);
  assert.equal(await page.evaluate(() => window.persistAsked), 1, 'asked once a page');

  // The ended tab holds the lock no more: a new tab keeps the progress, with the record as it was stored.
  const {page: next, errors: nextErrors} = await openPage(browser, {context});
  await next.goto(url, {waitUntil: 'commit'});
  const nextView = await waitForView(next, menuAtRest, 'the menu in a new tab');
  assert.ok(await next.locator('#second-tab').isHidden(), 'the new tab is not told of another');
  assert.ok(nextView.state === 1);
  await page.click('#play-again');
  await page.locator('#second-tab').waitFor({state: 'visible', timeout: 20000});
  assert.deepEqual(nextErrors, []);
  await next.close();
  await page.close();

  // A read of the record that fails part way: the game starts without it, says so, and plays.
  const {page: unread, errors: unreadErrors} = await openPage(browser, {context});
  await unread.addInitScript(abortEach, 'getAll');
  await unread.goto(url, {waitUntil: 'commit'});
  await waitForView(unread, menuAtRest, 'the menu with the record unread', {timeout: 30000});
  assert.match(await unread.locator('#notice').innerText(), /could not be read/);
  assert.deepEqual(unreadErrors, []);
  assert.deepEqual(errors, []);
});
console.log(`store: failed writes told and the record kept, the lock given up, reads that fail part way, in ${
  (Date.now() - started) / 1000} s`);
