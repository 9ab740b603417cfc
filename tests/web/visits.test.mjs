// A second visit with no connection, and leaving the game. After a first visit the service worker controls the
// page and holds every file of the site; with the server stopped, a reload still draws the menu. Escape in the
// menu ends the game: the page says "Thanks for playing" in place of the canvas, and its "Play again" button
// brings the menu back (still with no server); F4 ends it the same way.
// Depends on the harness, and the site's own program (the worker keeps the site's files, not the test
// program's), so the game is looked at through its pixels and the page.
import { assert, menuDrawnAfter, openPage, screenshot, startBrowsing, tapKey } from './harness.mjs';

const started = Date.now();
const {server, url, browser} = await startBrowsing({program: 'site'});
try {
  const {page, errors} = await openPage(browser, {width: 640, height: 480});
  await page.goto(url, {waitUntil: 'commit'});
  assert.ok(await menuDrawnAfter(page, 20000) >= 0, 'the menu is drawn on the first visit');
  // The page registers its worker a few seconds after it has loaded; the worker takes the page at once.
  await page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    if (!navigator.serviceWorker.controller) {
      await new Promise((resolve) => {
        navigator.serviceWorker.addEventListener('controllerchange', resolve, {once: true});
      });
    }
  });

  server.close();
  server.closeAllConnections();
  await assert.rejects(fetch(url), 'the server is gone');
  await page.reload({waitUntil: 'commit'});
  assert.ok(await menuDrawnAfter(page, 20000) >= 0, 'the menu is drawn with no server');
  await screenshot(page, 'visits-offline-menu');

  // Leaving: Escape in the menu, then "Play again"; then F4.
  // NOTE: the menu takes no key while it slides in, and this program cannot be asked when it is in: the key is
  // pressed again until the game ends, as a player would press it.
  for (const key of ['Escape', 'F4']) {
    const until = Date.now() + 20000;
    while (await page.locator('#ended').isHidden()) {
      assert.ok(Date.now() < until, `${key} never ended the game; the page said: ${JSON.stringify(errors)}`);
      await tapKey(page, key);
    }
    assert.equal(await page.locator('#ended h1').innerText(), 'Thanks for playing', `${key} ends the game`);
    assert.ok(await page.evaluate(() => document.getElementById('canvas').hidden), 'the canvas is put away');
    await screenshot(page, `visits-ended-${key}`);
    await page.click('#play-again');
    assert.ok(await menuDrawnAfter(page, 20000) >= 0, `"Play again" after ${key} draws the menu`);
    assert.ok(await page.locator('#ended').isHidden());
  }
  assert.deepEqual(errors, []);
  console.log(`visits: played with the server stopped, left by Escape and F4 and played again, in ${
    Date.now() - started} ms`);
} finally {
  await browser.close();
  server.close();
}
