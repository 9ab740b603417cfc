// A new version of the site deployed under an open page. The page's service worker keeps the version the page
// started with: the new one waits, a file the page fetches afterwards is still its own version's, and the page
// says a new version is ready. Its "Reload" button then brings the new version in.
// Depends on the harness, web/serve.mjs and web/build-service-worker.mjs (the site copied, changed and its
// worker written again, as a deploy would).
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { serve } from '../../web/serve.mjs';
import { assert, launch, menuDrawnAfter, openPage, screenshot, warmGraphics, webBuild } from './harness.mjs';

const started = Date.now();
const here = path.dirname(fileURLToPath(import.meta.url));
const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'quorlix-versions-'));
fs.cpSync(path.join(webBuild(), 'site'), copy, {recursive: true});
const server = await serve(copy, 0);
const url = `http://127.0.0.1:${server.address().port}/`;
const browser = await launch();
try {
  await warmGraphics(browser);
  const {page, errors} = await openPage(browser, {width: 640, height: 480});
  await page.goto(url, {waitUntil: 'commit'});
  assert.ok(await menuDrawnAfter(page, 20000) >= 0, 'the menu is drawn');
  await page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    if (!navigator.serviceWorker.controller) {
      await new Promise((resolve) => navigator.serviceWorker.addEventListener('controllerchange', resolve, {once: true}));
    }
  });
  const pageScript = () => page.evaluate(async () => (await fetch('quorlix-page.js')).text());
  const first = await pageScript();

  // Version 2: the page's script changed, and the worker written again for it.
  fs.appendFileSync(path.join(copy, 'quorlix-page.js'), '\n// version 2\n');
  execFileSync(process.execPath, [path.join(here, '../../web/build-service-worker.mjs'), copy], {stdio: 'pipe'});
  await page.evaluate(async () => (await navigator.serviceWorker.getRegistration()).update());
  await page.locator('#update').waitFor({state: 'visible', timeout: 20000});
  await screenshot(page, 'versions-new-version-ready');
  assert.equal(await pageScript(), first, 'the open page still gets its own version');
  assert.equal(await page.evaluate(() => !!document.getElementById('canvas').hidden), false, 'the game plays on');

  await Promise.all([page.waitForEvent('load', {timeout: 20000}), page.click('#update-reload')]);
  assert.ok(await menuDrawnAfter(page, 20000) >= 0, 'the menu is drawn in the new version');
  assert.match(await pageScript(), /version 2/, 'the reloaded page has the new version');
  assert.ok(await page.locator('#update').isHidden());
  assert.deepEqual(errors, []);
} finally {
  await browser.close();
  server.close();
  fs.rmSync(copy, {recursive: true, force: true});
}
console.log(`versions: a new version waits under an open page, is offered, and comes in on reload, in ${
  (Date.now() - started) / 1000} s`);
