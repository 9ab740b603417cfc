// A mouse player through the page: starts the tutorial, finds its six words (pressing on each word's first
// letter, moving one cell along it, letting go), sees the finishing panel and the menu again; a reload of the
// page (the same browser storage), whose program compiles slowly, then shows the tutorial's gold medal on the wheel,
// read from IndexedDB.
// Depends on the harness and the test program's view of the grid.
import {
  assert, findWordWithMouse, frames, inPlay, menuAtRest, openPage, pixelsIn, screenshot, virtualOnPage, waitForView,
  withBrowsing,
} from './harness.mjs';

const started = Date.now();
await withBrowsing(async ({url, browser}) => {
  const {context, page, errors} = await openPage(browser, {width: 640, height: 480});
  await page.goto(url, {waitUntil: 'commit'});
  let v = await waitForView(page, menuAtRest, 'the menu at rest');
  assert.equal(v.menuSel, 0, 'a first visit starts on the tutorial');
  const medalBefore = await medalColours(page, v);

  // The tutorial starts with a click on its entry of the wheel.
  const entry = selectedEntry(v);
  await page.mouse.move(entry.x, entry.y);
  await page.mouse.down();
  await frames(page);
  await page.mouse.up();
  v = await waitForView(page, (v) => inPlay(v) && v.gameNum === 1, 'the tutorial started by a click');

  for (let word = 0; word < 6; ++word) {
    v = await waitForView(page, (v) => inPlay(v) && v.counter === word && v.selection === 0, `word ${word + 1} at rest`);
    await findWordWithMouse(page, v);
    if (word === 2) await screenshot(page, 'mouse-tutorial-found');
    await waitForView(page, (v) => v.counter > word || v.puzzleDone === 1, `${v.word} found`);
  }
  v = await waitForView(page, (v) => v.state === 10 && v.finishTimer > 30, 'the finishing panel');
  await screenshot(page, 'mouse-tutorial-complete');
  v = await waitForView(page, (v) => v.state === 1 && v.finishTimer === 0, 'the menu again');
  assert.equal(v.best[0], 6, 'the tutorial completed is filed as 6 words');

  // NOTE: the reload's program takes a second longer to compile, as on a slow device: the browser's storage then
  // answers long before the program runs, and the record must still reach the game.
  await context.addInitScript(() => {
    for (const name of ['instantiate', 'instantiateStreaming']) {
      const instantiate = WebAssembly[name];
      WebAssembly[name] = (...args) => new Promise((resolve) => setTimeout(resolve, 1000))
        .then(() => instantiate.apply(WebAssembly, args));
    }
  });
  await page.reload({waitUntil: 'commit'});
  v = await waitForView(page, menuAtRest, 'the menu after a reload');
  assert.equal(v.best[0], 6, 'the result is kept in the browser over a reload');
  assert.equal(v.last[0][0], 6);
  await screenshot(page, 'mouse-tutorial-medal');
  // The medal drawn for six words is gold where the untried one was dull: more of its pixels are warm and bright.
  const medalAfter = await medalColours(page, v);
  assert.ok(medalAfter.gold > medalBefore.gold + 0.2 * medalAfter.total,
            `the tutorial's medal turned gold: ${JSON.stringify({medalBefore, medalAfter})}`);
  assert.deepEqual(errors, []);
  console.log(`mouse: the tutorial's six words found, filed and kept over a reload, in ${Date.now() - started} ms`);
});

// Where the selected group's entry lies on the page: the wheel keeps it at 48 degrees from straight up, 179
// units from the wheel's centre (116 and the bulge of the entries near the pointer line).
function selectedEntry(v) {
  const angle = (48 * Math.PI) / 180;
  return virtualOnPage(v, v.wheel.x + Math.sin(angle) * 179, v.wheel.y - Math.cos(angle) * 179);
}

// How many pixels of the ring about the selected entry's medal (between its name and its rim) are gold: warm,
// bright, clearly more red and green than blue.
async function medalColours(page, v) {
  const centre = selectedEntry(v), r = 56 * v.screen.scale;
  const rows = await pixelsIn(page, {x: centre.x - r, y: centre.y - r, width: 2 * r, height: 2 * r});
  let gold = 0, total = 0;
  rows.forEach((row, y) => row.forEach(([red, green, blue], x) => {
    const d = Math.hypot(x - r, y - r);
    if (d < 0.6 * r || d > r) return;
    ++total;
    if (red > 180 && green > 130 && blue < green - 60) ++gold;
  }));
  return {gold, total};
}
