// A touch player on a tablet-sized screen with two device pixels to the page's pixel, through real touch events
// of the browser: taps the training group on the wheel and starts it with the green play button, finds its first
// word by dragging a finger, pauses with the pause icon, gives up with the quit icon, and finds the result (one
// word) filed in the group's best and last results.
// Depends on the harness (finger() sends the DevTools protocol's touch events) and the test program's view.
import {
  assert, cellOnPage, findWord, finger, frames, inPlay, menuAtRest, openPage, pauseMenuIn, screenshot, virtualOnPage,
  waitForView, withBrowsing,
} from './harness.mjs';

const started = Date.now();
const dpr = 2;
await withBrowsing(async ({url, browser}) => {
  const {page, errors} = await openPage(browser, {width: 800, height: 600, dpr, touch: true});
  const touch = await finger(page);
  await page.goto(url, {waitUntil: 'commit'});
  let v = await waitForView(page, menuAtRest, 'the menu at rest');
  assert.equal(v.menuSel, 0);

  // The entry after the selected one rests at 80 degrees from straight up, 131 units from the wheel's centre.
  const angle = (80 * Math.PI) / 180;
  const training = virtualOnPage(v, v.wheel.x + Math.sin(angle) * 131, v.wheel.y - Math.cos(angle) * 131, dpr);
  await touch.tap(training.x, training.y);
  v = await waitForView(page, (v) => v.menuSel === 1 && v.wheel.settled, 'the training group chosen by a tap');
  await screenshot(page, 'touch-menu-training');
  // The play button stands in the middle of the strip (140 units wide), 48 units above the foot.
  const play = virtualOnPage(v, v.screen.w - 70, v.screen.h - 48, dpr);
  await touch.tap(play.x, play.y);
  v = await waitForView(page, (v) => inPlay(v) && v.gameNum === 2 && v.selection === 0,
                        'the training group started by the play button');

  // The first word, by a finger pressed on its first letter and drawn one cell along it.
  const at = findWord(v);
  assert.ok(at, `the word ${v.word} lies in the grid`);
  const first = cellOnPage(v, at.x, at.y, dpr), next = cellOnPage(v, at.x + at.dx, at.y + at.dy, dpr);
  await touch.down(first.x, first.y);
  await waitForView(page, (v) => v.selection === 1, 'a start chosen by the finger');
  await touch.move((first.x + next.x) / 2, (first.y + next.y) / 2);
  await frames(page, 1);
  await touch.move(next.x, next.y);
  await waitForView(page, (v) => v.selection >= 2, 'a direction chosen by the finger');
  await touch.up();
  v = await waitForView(page, (v) => v.counter === 1 && v.settled, 'the first word found and the second laid');

  // The pause icon at the top left, then the quit icon of the pause menu once its panel is in.
  const pause = virtualOnPage(v, 16, 16, dpr);
  await touch.tap(pause.x, pause.y);
  v = await waitForView(page, pauseMenuIn, 'the pause menu in');
  await screenshot(page, 'touch-paused');
  const quit = virtualOnPage(v, 64, 96, dpr);
  await touch.tap(quit.x, quit.y);
  v = await waitForView(page, (v) => v.gaveUp === -1 && v.finishTimer > 30, 'the panel of a group given up');
  await screenshot(page, 'touch-given-up');
  v = await waitForView(page, (v) => v.state === 1 && v.finishTimer === 0, 'the menu again');
  assert.equal(v.best[1], 1, 'one word found before giving up is the best result');
  assert.deepEqual(v.last[1].slice(0, 2), [1, 0], 'and the newest of the last results');
  assert.equal(v.best[0], 0, 'no other group has a result');
  assert.deepEqual(errors, []);
  console.log(`touch: a group chosen, started, a word found, paused and given up by touch, in ${
    Date.now() - started} ms`);
});
