// The page as a first visit finds it: the game's menu drawn within 2 seconds of navigation, read from the
// canvas's pixels, with no error in the console; the page titled "Quorlix", with its icon and manifest.
import { assert, launch, menuDrawnAfter, openPage, screenshot, serveSite } from './harness.mjs';

const {server, url} = await serveSite({program: 'site'});
const browser = await launch();
try {
  const {page, errors} = await openPage(browser, {width: 640, height: 480});
  await page.goto(url, {waitUntil: 'commit'});
  const drawnAfter = await menuDrawnAfter(page);
  await screenshot(page, 'menu-640x480');
  console.log(`menu drawn ${Math.round(drawnAfter)} ms after navigation`);
  assert.ok(drawnAfter >= 0, 'the menu was never drawn');
  assert.ok(drawnAfter <= 2000, `the menu took ${Math.round(drawnAfter)} ms`);
  assert.equal(await page.title(), 'Quorlix');
  const manifest = await page.evaluate(async () => (await fetch('manifest.webmanifest')).json());
  assert.equal(manifest.name, 'Quorlix');
  for (const icon of manifest.icons) {
    assert.equal((await page.request.get(new URL(icon.src, url).href)).status(), 200, icon.src);
  }
  assert.deepEqual(errors, []);
} finally {
  await browser.close();
  server.close();
}
