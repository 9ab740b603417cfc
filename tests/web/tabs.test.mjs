// Tabs and the page hidden. A first visit is the tab that keeps the progress, even on a device slow to start its
// drawing. A puzzle whose page is hidden pauses and saves: the colour scheme chosen in play reaches the record in
// IndexedDB, and the page shown again is at the pause menu. A second page of the same browser opened meanwhile
// says the game is open in another tab; played there without saving, its notice bar says so, and the result it
// files never reaches the stored record, which stays the first tab's. A page that cannot read the stored record
// says so and never saves over it.
// Depends on the harness and the test program's view.
// NOTE: a headless browser never hides a page of its own accord (nor on a minimised window), so the page is
// told it is hidden as a browser tells it: the document's visibility changes and its event fires.
import {
  assert, findWordWithMouse, inPlay, menuAtRest, openPage, pauseMenuIn, record, screenshot, storedRecord, tapKey,
  waitForView, withBrowsing,
} from './harness.mjs';

const started = Date.now();
await withBrowsing(async ({url, browser}) => {
  // A first visit on a device whose first drawing context takes two seconds is still the one tab of the game.
  {
    const {context, page, errors} = await openPage(browser, {width: 640, height: 480});
    await context.addInitScript(() => {
      const getContext = HTMLCanvasElement.prototype.getContext;
      let first = true;
      HTMLCanvasElement.prototype.getContext = function(...args) {
        for (const until = performance.now() + (first ? 2000 : 0); performance.now() < until;);
        first = false;
        return getContext.apply(this, args);
      };
    });
    await page.goto(url, {waitUntil: 'commit'});
    const overlay = page.locator('#second-tab').waitFor({state: 'visible', timeout: 30000})
      .then(() => 'overlay', () => null);
    const menu = waitForView(page, menuAtRest, 'the menu').then(() => 'menu', () => null);
    assert.equal(await Promise.race([overlay, menu]), 'menu',
                 'a slow first visit plays, and is not taken for a second tab');
    assert.deepEqual(errors, []);
    await context.close();
  }

  const {context, page: first, errors} = await openPage(browser, {width: 640, height: 480});
  await first.goto(url, {waitUntil: 'commit'});
  let v = await waitForView(first, menuAtRest, 'the menu');
  await tapKey(first, 'Enter');
  v = await waitForView(first, inPlay, 'the tutorial');
  // C changes the colour scheme to dark; nothing but the hiding saves it.
  await tapKey(first, 'KeyC');
  await setVisible(first, false);
  v = await waitForView(first, (v) => v.paused === 1, 'paused as the page is hidden');
  const stored = await waitForView(first, (fields) => fields && record.setting(fields, 1) === 1,
                                   'the dark scheme stored in IndexedDB', {timeout: 10000, look: storedRecord});
  assert.equal(record.best(stored, 0), 0);
  await setVisible(first, true);
  v = await waitForView(first, pauseMenuIn, 'the pause menu when the page is shown again');
  assert.equal(v.state, 10);
  await screenshot(first, 'tabs-shown-again');

  // A second tab of the same browser, while the first runs.
  const {page: second, errors: secondErrors} = await openPage(browser, {context});
  await second.goto(url, {waitUntil: 'commit'});
  await second.locator('#second-tab').waitFor({state: 'visible', timeout: 20000});
  await screenshot(second, 'tabs-second-tab');
  await second.click('#play-unsaved');
  v = await waitForView(second, menuAtRest, 'the second tab playing');
  assert.match(await second.locator('#notice').innerText(), /without saving/);
  // There: the tutorial's first word found, then given up from the pause menu (up to quit, then Z).
  await tapKey(second, 'Enter');
  v = await waitForView(second, (v) => inPlay(v) && v.selection === 0, 'the tutorial, second tab');
  await findWordWithMouse(second, v);
  v = await waitForView(second, (v) => v.counter === 1 && v.settled, 'a word found in the second tab');
  await tapKey(second, 'Escape');
  await waitForView(second, pauseMenuIn, 'paused in the second tab');
  await tapKey(second, 'ArrowUp');
  await waitForView(second, (v) => v.pauseCursor === -1, 'quit highlighted');
  await tapKey(second, 'KeyZ');
  v = await waitForView(second, (v) => v.state === 1 && v.finishTimer === 0, 'the second tab back in its menu');
  assert.equal(v.best[0], 1, 'the second tab files its result for itself');
  await screenshot(second, 'tabs-second-tab-menu');
  assert.deepEqual(secondErrors, []);
  await second.close();

  const after = await storedRecord(first);
  assert.equal(record.best(after, 0), 0, 'the second tab\'s result never reaches the stored record');
  assert.equal(record.last(after, 0), 0);
  assert.equal(record.setting(after, 1), 1, 'the first tab\'s record is kept');
  assert.equal((await waitForView(first, () => true, 'the first tab')).best[0], 0);
  assert.deepEqual(errors, []);
  await first.close();

  // The first tab gone, a page whose reading of IndexedDB fails starts without the record, says so, and never
  // saves over it, even when hidden with a change to save.
  const {page: unread, errors: unreadErrors} = await openPage(browser, {context});
  await unread.addInitScript(() => {
    IDBObjectStore.prototype.getAll = () => { throw new DOMException('the disk failed', 'UnknownError'); };
  });
  await unread.goto(url, {waitUntil: 'commit'});
  v = await waitForView(unread, menuAtRest, 'the unread page');
  assert.match(await unread.locator('#notice').innerText(), /could not be read/);
  await tapKey(unread, 'Enter');
  await waitForView(unread, inPlay, 'the tutorial on the unread page');
  await tapKey(unread, 'KeyC');
  await setVisible(unread, false);
  await waitForView(unread, (v) => v.paused === 1, 'the unread page paused as it is hidden');
  await unread.waitForTimeout(500);
  assert.deepEqual(await storedRecord(unread), after, 'the stored record is left as it was');
  assert.deepEqual(unreadErrors, []);
  console.log(`tabs: a slow first visit kept, hidden, saved and shown paused; a second tab played without saving, in ${
    Date.now() - started} ms`);
});

// Hides or shows the page as the browser does when its tab is left or taken up again.
async function setVisible(page, visible) {
  await page.evaluate((shown) => {
    Object.defineProperty(document, 'visibilityState', {configurable: true, get: () => (shown ? 'visible' : 'hidden')});
    Object.defineProperty(document, 'hidden', {configurable: true, get: () => !shown});
    document.dispatchEvent(new Event('visibilitychange'));
  }, visible);
}
