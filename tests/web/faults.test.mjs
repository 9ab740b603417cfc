// The page where the browser or the host falls short. Without Web Locks, the page says that two tabs would save
// over each other, and plays. A host that sends the program with the wrong type still starts the game. Art
// downloads that fail are tried again; only the first art failing for good stops the page, with a way to try
// again. A storm of size changes (a window dragged, a phone turning) is taken as one, once the size has settled;
// and the canvas is never made larger than the context can draw.
// Depends on the harness and the test program's view.
import { assert, menuAtRest, openPage, screenshot, waitForView, withBrowsing } from './harness.mjs';

const started = Date.now();
await withBrowsing(async ({url, browser}) => {
  // No Web Locks, and the program sent as text.
  {
    const {context, page, errors} = await openPage(browser, {width: 640, height: 480});
    await context.addInitScript(() => {
      Object.defineProperty(Navigator.prototype, 'locks', {configurable: true, get: () => undefined});
    });
    let wrongType = 0;
    await page.route('**/quorlix.wasm', async (route) => {
      const response = await route.fetch();
      ++wrongType;
      await route.fulfill({response, headers: {...response.headers(), 'content-type': 'text/plain'}});
    });
    await page.goto(url, {waitUntil: 'commit'});
    await waitForView(page, menuAtRest, 'the menu with no Web Locks and the program sent as text');
    assert.ok(wrongType >= 1, 'the program was sent as text');
    assert.match(await page.locator('#notice').innerText(), /two tabs will save over each other/);
    assert.deepEqual(errors.filter((error) => !/MIME type|wasm streaming/i.test(error)), []);
    await context.close();
  }

  // Art downloads that fail: the sharper art failing twice comes on its third try, the game playing on with the
  // art it has meanwhile; the first art failing every try ends in the page saying so, whose "Try again" then
  // starts the game.
  {
    const {context, page, errors} = await openPage(browser, {width: 640, height: 480});
    let sharpTries = 0, firstFails = true;
    await page.route('**/quorlix-level2.data', (route) => (++sharpTries <= 2 ? route.abort() : route.continue()));
    await page.route('**/quorlix-level1.data', (route) => (firstFails ? route.abort() : route.continue()));
    await page.goto(url, {waitUntil: 'commit'});
    await page.locator('#unsupported').waitFor({state: 'visible', timeout: 40000});
    assert.match(await page.locator('#unsupported-why').innerText(), /could not be loaded/);
    await screenshot(page, 'faults-first-art-failed');
    firstFails = false;
    await page.click('#try-again');
    await waitForView(page, (v) => menuAtRest(v) && v.hdLevel === 2, 'the sharper art after two failures',
                      {timeout: 40000});
    assert.equal(sharpTries, 3);
    assert.ok(await page.locator('#unsupported').isHidden());
    assert.deepEqual(errors.filter((error) => !/ERR_FAILED|Failed to load resource/.test(error)), []);
    await context.close();
  }

  // A storm of sizes, then a drawable size smaller than the window.
  {
    const {context, page, errors} = await openPage(browser, {width: 640, height: 480});
    await context.addInitScript(() => {
      const getParameter = WebGLRenderingContext.prototype.getParameter;
      WebGLRenderingContext.prototype.getParameter = function(name) {
        if (window.drawableAtMost && name === this.MAX_VIEWPORT_DIMS) return new Int32Array([1000, 1000]);
        if (window.drawableAtMost && name === this.MAX_RENDERBUFFER_SIZE) return 1000;
        return getParameter.call(this, name);
      };
    });
    await page.goto(url, {waitUntil: 'commit'});
    await waitForView(page, (v) => menuAtRest(v) && v.hdLevel === 2, 'the menu at 640x480');
    await page.evaluate(() => {
      window.sizesTaken = [];
      new MutationObserver(() => {
        const canvas = document.getElementById('canvas');
        const size = `${canvas.width}x${canvas.height}`;
        if (window.sizesTaken[window.sizesTaken.length - 1] !== size) window.sizesTaken.push(size);
      }).observe(document.getElementById('canvas'), {attributes: true, attributeFilter: ['width', 'height']});
    });
    for (let i = 0; i < 12; ++i) {
      await page.setViewportSize({width: 640 + 40 * i, height: 480 + 30 * i});
      await page.waitForTimeout(60);
    }
    await waitForView(page, (v) => menuAtRest(v) && v.screen.w > 0, 'the menu after the storm');
    await page.waitForTimeout(500);
    const taken = await page.evaluate(() => window.sizesTaken);
    assert.deepEqual(taken, ['1080x810'], 'the last size alone is taken');

    await page.evaluate(() => { window.drawableAtMost = true; });
    await page.setViewportSize({width: 1280, height: 1024});
    // The game lays the menu out for the new shape (5:4), at the size the canvas could take.
    await waitForView(page, (v) => menuAtRest(v) && Math.abs(v.screen.w / v.screen.h - 1.25) < 0.01,
                      'the menu at a size beyond the drawable');
    const size = await page.evaluate(() => [canvas.width, canvas.height]);
    assert.deepEqual(size, [1000, 800], 'the canvas kept within what the context draws');
    assert.deepEqual(errors, []);
    await context.close();
  }
});
console.log(`faults: no Web Locks told, a program of the wrong type run, art downloads tried again, a storm of sizes ` +
            `taken once, the canvas kept drawable, in ${(Date.now() - started) / 1000} s`);
