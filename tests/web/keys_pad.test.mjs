// A keyboard player and a pad player through the page. The keyboard player starts the tutorial with Enter,
// pauses with Escape, opens the options from the pause menu, turns the sound down a level, closes the box and
// resumes; the level is kept over a reload. The pad player, a standard gamepad given to the page through the
// browser's gamepad interface, turns the wheel with the direction pad and the stick, starts a group with the
// first face button and pauses it with Start. F11 takes the page to the browser's fullscreen, and the browser
// leaving it makes the game windowed again.
// Depends on the harness and the test program's view.
// NOTE: the pad is a plain object returned by navigator.getGamepads(), set up before the page's own scripts; the
// game samples it at every update, as it samples a real pad, and the test changes its buttons and axes.
import {
  assert, frames, inPlay, menuAtRest, openPage, optionsIn, optionsOut, pauseMenuIn, screenshot, tapKey, waitForBox,
  waitForView, withBrowsing,
} from './harness.mjs';

const kPad = () => {
  const pad = {
    id: 'Test pad (STANDARD GAMEPAD)', index: 0, connected: true, mapping: 'standard', timestamp: 0,
    axes: [0, 0, 0, 0], buttons: Array.from({length: 17}, () => ({pressed: false, touched: false, value: 0})),
  };
  window.testPad = pad;
  Object.defineProperty(Navigator.prototype, 'getGamepads', {configurable: true, value: () => [pad, null, null, null]});
};

const started = Date.now();
await withBrowsing(async ({url, browser}) => {
  const {context, page, errors} = await openPage(browser, {width: 640, height: 480});
  await context.addInitScript(kPad);
  await page.goto(url, {waitUntil: 'commit'});
  let v = await waitForView(page, menuAtRest, 'the menu');
  assert.equal(v.soundLevel, 0, 'a first visit plays loud');

  // The keyboard player.
  await tapKey(page, 'Enter');
  v = await waitForView(page, inPlay, 'the tutorial started with Enter');
  await tapKey(page, 'Escape');
  v = await waitForView(page, pauseMenuIn, 'paused by Escape');
  assert.equal(v.pauseCursor, 0, 'the pause menu opens on resume');
  await tapKey(page, 'ArrowDown');
  v = await waitForView(page, (v) => v.pauseCursor === 1, 'the options entry highlighted');
  await tapKey(page, 'KeyZ');
  v = await waitForBox(page, optionsIn, 'the options box open');
  await tapKey(page, 'ArrowDown');
  v = await waitForView(page, (v) => v.optionCursor === 1, 'the sound row highlighted');
  await tapKey(page, 'KeyZ');
  v = await waitForView(page, (v) => v.soundLevel === 1, 'the sound one level down');
  await screenshot(page, 'keys-options');
  await tapKey(page, 'Escape');
  v = await waitForBox(page, (v) => optionsOut(v) && v.paused === 1, 'the box closed, still paused');
  await tapKey(page, 'Escape');
  v = await waitForView(page, inPlay, 'play resumed by Escape');
  assert.equal(v.soundLevel, 1);
  assert.equal(v.puzzleDone, 0, 'nothing given up on the way');

  await page.reload({waitUntil: 'commit'});
  v = await waitForView(page, menuAtRest, 'the menu after a reload');
  assert.equal(v.soundLevel, 1, 'the sound level is kept over a reload');

  // The pad player: direction pad down, stick down, then the first face button starts the group chosen.
  // NOTE: the game takes a control only once every control has been seen let go since the last one acted, so
  // each press and each return of the stick is followed by a few frames with nothing held.
  const hold = (button, down) => page.evaluate(([b, d]) => {
    Object.assign(window.testPad.buttons[b], {pressed: d, touched: d, value: d ? 1 : 0});
  }, [button, down]);
  const press = async (button) => {
    await hold(button, true);
    await frames(page, 4);
    await hold(button, false);
    await frames(page, 2);
  };
  assert.equal(v.menuSel, 0);
  await press(13);
  v = await waitForView(page, (v) => v.menuSel === 1, 'the wheel turned by the direction pad');
  await page.evaluate(() => { window.testPad.axes[1] = 1; });
  await frames(page, 4);
  await page.evaluate(() => { window.testPad.axes[1] = 0; });
  await frames(page, 2);
  v = await waitForView(page, (v) => v.menuSel === 2, 'the wheel turned by the stick');
  await press(0);
  v = await waitForView(page, (v) => inPlay(v) && v.gameNum === 3, 'the third group started by the pad');
  await press(9);
  v = await waitForView(page, (v) => v.paused === 1, 'paused by the pad\'s Start');
  await screenshot(page, 'pad-paused');

  // F11 asks the browser for its fullscreen; the browser leaving it (its own Escape) makes the game windowed again.
  await tapKey(page, 'F11');
  v = await waitForView(page, (v) => v.fullscreen === 1, 'fullscreen by F11');
  assert.ok(await page.evaluate(() => document.fullscreenElement !== null), 'the page is in the browser\'s fullscreen');
  await page.evaluate(() => document.exitFullscreen());
  v = await waitForView(page, (v) => v.fullscreen === 0, 'windowed again once the browser left fullscreen');
  assert.deepEqual(errors, []);
  console.log(`keys_pad: the options by keys kept over a reload, a group started and paused by a pad, in ${
    Date.now() - started} ms`);
});
