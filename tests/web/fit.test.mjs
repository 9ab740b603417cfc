// Every screen's furniture lies inside a phone's screen, upright and on its side: the menu's title, the options
// box, "PAUSED" with the drawing toy steered to its widest circle, and the finishing panel's words after a give-up.
// Judged by the canvas's pixels: the outermost ring of two device pixels shows nothing of them.
// Depends on the harness and the test program's view.
import {
  assert, finger, frames, inPlay, menuAtRest, openPage, optionsIn, optionsOut, pauseMenuIn, pixelsIn, screenshot,
  view, virtualOnPage, waitForBox, waitForView, withBrowsing,
} from './harness.mjs';

// Three phones, each upright and on its side: page pixels and device pixels per page pixel.
const kPhones = [{width: 360, height: 640, dpr: 2}, {width: 390, height: 844, dpr: 3}, {width: 412, height: 915, dpr: 2.625}];
const kShapes = kPhones.flatMap((p) => [p, {width: p.height, height: p.width, dpr: p.dpr}]);
// The ring's thickness in device pixels, and how far a channel may stray from the background before it counts.
const kRing = 2, kStray = 48;

const started = Date.now();
const faults = [];
await withBrowsing(async ({url, browser}) => {
  for (const {width, height, dpr} of kShapes) {
    const shape = `${width}x${height}@${dpr}`;
    const {page, errors, context} = await openPage(browser, {width, height, dpr, touch: true});
    const touch = finger(page);
    const tapVirtual = async (v, x, y) => {
      const at = virtualOnPage(v, x, y, dpr);
      await (await touch).tap(at.x, at.y);
    };
    await page.goto(url, {waitUntil: 'commit'});

    // The title: the left edge down to 150 units (or to where the wheel's outer ring, some 200 units round its
    // centre, reaches it), and the top edge across to the strip 140 units wide at the right.
    let v = await waitForView(page, menuAtRest, `the menu at ${shape}`);
    const s = v.screen.scale;
    const canvas = await page.evaluate(() => ({w: Module.canvas.width, h: Module.canvas.height}));
    const ring = {
      left: (top, bottom) => ({x: 0, y: top, width: kRing, height: bottom - top}),
      right: (top, bottom) => ({x: canvas.w - kRing, y: top, width: kRing, height: bottom - top}),
      top: (left, right) => ({x: left, y: 0, width: right - left, height: kRing}),
      bottom: (left, right) => ({x: left, y: canvas.h - kRing, width: right - left, height: kRing}),
    };
    await screenshot(page, `fit-${shape}-menu`);
    const wheelTop = Math.min(150, v.wheel.y - 200) * s;
    await checkPlain(page, `${shape} title`, [ring.left(0, wheelTop), ring.top(0, (v.screen.w - 140) * s)]);

    // The options box, opened from the cog at the wheel's centre, which it hides: the left and right edges, which
    // the box's panel leaves 50 units wide, show the background only (it runs from top to foot by design).
    await tapVirtual(v, v.wheel.x, v.wheel.y);
    await waitForBox(page, optionsIn, `the options box at ${shape}`);
    await screenshot(page, `fit-${shape}-options`);
    await checkPlain(page, `${shape} options box`, [ring.left(0, canvas.h), ring.right(0, canvas.h)]);
    await tapVirtual(v, 100, 60);
    await waitForBox(page, optionsOut, `the options box closed at ${shape}`);

    // The tutorial, paused with the icon at the top-left corner; the toy's second arm lengthened to its whole
    // reach (Down held), so its pen circles as wide as it can, and left to draw a whole trail.
    await tapVirtual(v, v.screen.w - 70, v.screen.h - 48);
    v = await waitForView(page, inPlay, `the tutorial at ${shape}`);
    await tapVirtual(v, 16, 16);
    v = await waitForView(page, pauseMenuIn, `paused at ${shape}`);
    await page.keyboard.down('ArrowDown');
    for (let arm = -1; ;) {
      const now = (await view(page)).toyArm;
      if (now === arm) break;
      arm = now;
      await frames(page, 5);
    }
    await page.keyboard.up('ArrowDown');
    // NOTE: at a turn of 25 degrees an update, 15 updates draw the whole circle.
    await frames(page, 20);
    await screenshot(page, `fit-${shape}-pause`);
    // The pause menu's icons (128 units wide, at the left) and, right of them, "PAUSED" and the toy: the left,
    // right and bottom edges, and the top edge right of the icons.
    await checkPlain(page, `${shape} the pause menu, "PAUSED" and the toy`,
                     [ring.left(0, canvas.h), ring.right(0, canvas.h), ring.top(128 * s, canvas.w),
                      ring.bottom(0, canvas.w)]);

    // Giving up with the quit icon (at (64, 96), or a little higher on a screen on its side): the finishing
    // panel's bands grow in from the sides by design, but its pink words stay off every edge.
    await tapVirtual(v, 64, 96);
    await waitForView(page, (v) => v.state === 10 && v.finishTimer >= 40, `the finishing panel at ${shape}`);
    const edges = [ring.left(0, canvas.h), ring.right(0, canvas.h), ring.top(0, canvas.w), ring.bottom(0, canvas.w)];
    const pink = (await Promise.all(edges.map((box) => pixelsIn(page, box)))).flat(2)
      .filter(([r, g, b]) => r > 120 && b > 80 && r > g + 30).length;
    await screenshot(page, `fit-${shape}-given-up`);
    if (pink > 3) faults.push(`${shape} finishing panel: ${pink} pink pixels on the edge`);
    assert.deepEqual(errors, [], `no errors at ${shape}`);
    await context.close();
  }
  assert.deepEqual(faults, [], 'nothing of the title, the options box, the pause menu or the finishing panel on an edge');
  console.log(`fit: six phone shapes, menu, options, pause and finishing panel inside the screen, in ${
    Date.now() - started} ms`);
});

// Whether a colour strays from another by more than kStray in any channel.
function stray(a, b) {
  return a.some((c, i) => Math.abs(c - b[i]) > kStray);
}

// Each box of the canvas's ring shows its background only: no more than three pixels stray from the box's median
// colour (the background, which fills most of it). A fault is kept for the end, so every shape is looked at.
async function checkPlain(page, what, boxes) {
  for (const box of boxes) {
    const pixels = (await pixelsIn(page, box)).flat();
    const median = [0, 1, 2].map((c) => pixels.map((p) => p[c]).sort((a, b) => a - b)[pixels.length >> 1]);
    const off = pixels.filter((p) => stray(p, median)).length;
    if (off > 3) faults.push(`${what}: ${off} of ${pixels.length} pixels at ${JSON.stringify(box)} are not ${median}`);
  }
}
