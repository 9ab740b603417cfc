// The game on screens of other shapes and sizes. A desktop window grown from 640x480 to 1280x1024 reloads the
// art at the larger level. A phone held upright (390x844 page pixels, three device pixels each, touch) and
// turned on its side (844x390) shows the menu, the options box, a puzzle with its whole grid on the screen, and
// the pause menu, each kept as a screenshot; every label of the options box ends inside its panel. The shaders
// sample in high precision where the device offers it, and a device that offers only medium still draws.
// Depends on the harness and the test program's view.
import {
  assert, finger, frames, inPlay, menuAtRest, openPage, optionsIn, optionsOut, pauseMenuIn, pixelsIn, screenshot,
  view, virtualOnPage, waitForBox, waitForView, withBrowsing,
} from './harness.mjs';

const started = Date.now();
const labelFaults = [];
await withBrowsing(async ({url, browser}) => {
  // A desktop window made larger.
  {
    const {page, errors, context} = await openPage(browser, {width: 640, height: 480});
    await page.goto(url, {waitUntil: 'commit'});
    // A first visit starts on the smallest art; the level the window wants follows.
    let v = await waitForView(page, (v) => menuAtRest(v) && v.hdLevel === 2, 'the menu with its art at 640x480');
    await page.setViewportSize({width: 1280, height: 1024});
    v = await waitForView(page, (v) => menuAtRest(v) && v.hdLevel === 4, 'the menu with the larger art at 1280x1024');
    await screenshot(page, 'screens-menu-1280x1024');
    assert.deepEqual(errors, []);
    await context.close();
  }

  // The fragment shaders' precision, as the page hands their sources to the browser: high here (the software
  // rasteriser offers it), medium on a device without high precision in fragment shaders, which still draws.
  for (const highOffered of [true, false]) {
    const {page, errors, context} = await openPage(browser, {width: 640, height: 480});
    await context.addInitScript((highOffered) => {
      const prototype = WebGLRenderingContext.prototype;
      window.fragmentShaders = [];
      const shaderSource = prototype.shaderSource, createShader = prototype.createShader;
      const kinds = new WeakMap();
      prototype.createShader = function(kind) {
        const shader = createShader.call(this, kind);
        kinds.set(shader, kind);
        return shader;
      };
      prototype.shaderSource = function(shader, source) {
        if (kinds.get(shader) === this.FRAGMENT_SHADER) window.fragmentShaders.push(source.split('\n')[0]);
        return shaderSource.call(this, shader, source);
      };
      if (!highOffered) {
        const format = prototype.getShaderPrecisionFormat;
        prototype.getShaderPrecisionFormat = function(shaderKind, precision) {
          if (shaderKind === this.FRAGMENT_SHADER && precision === this.HIGH_FLOAT) {
            return {rangeMin: 0, rangeMax: 0, precision: 0};
          }
          return format.call(this, shaderKind, precision);
        };
      }
    }, highOffered);
    await page.goto(url, {waitUntil: 'commit'});
    await waitForView(page, menuAtRest, `the menu, high precision ${highOffered ? 'offered' : 'missing'}`);
    const wanted = highOffered ? 'precision highp float;' : 'precision mediump float;';
    assert.deepEqual(await page.evaluate(() => window.fragmentShaders), [wanted, wanted]);
    // The title's letters are drawn: light pixels in its box at the top of the menu.
    const title = await pixelsIn(page, {x: 140, y: 30, width: 220, height: 60});
    assert.ok(title.flat().some(([r, g, b]) => r > 200 && g > 180 && b > 120), `the title drawn with ${wanted}`);
    assert.deepEqual(errors, []);
    await context.close();
  }

  // A phone: upright, then on its side, then upright again.
  const dpr = 3;
  const {page, errors} = await openPage(browser, {width: 390, height: 844, dpr, touch: true});
  const touch = await finger(page);
  const tapVirtual = (v, x, y) => {
    const at = virtualOnPage(v, x, y, dpr);
    return touch.tap(at.x, at.y);
  };
  const turn = async (shape) => {
    await page.setViewportSize(shape === 'upright' ? {width: 390, height: 844} : {width: 844, height: 390});
    await waitForView(page, (v) => (v.screen.w < v.screen.h) === (shape === 'upright'), `the screen ${shape}`);
    // NOTE: the screen is fitted as a frame is drawn; what stands on it is laid out by the updates after that.
    await frames(page, 3);
    return view(page);
  };
  await page.goto(url, {waitUntil: 'commit'});
  for (const shape of ['upright', 'side']) {
    let v = await turn(shape);
    v = await waitForView(page, menuAtRest, `the menu, ${shape}`);
    await screenshot(page, `screens-phone-${shape}-menu`);
    // The options box opens from the cog at the wheel's centre and closes with its own cog at (100, 60).
    await tapVirtual(v, v.wheel.x, v.wheel.y);
    v = await waitForBox(page, optionsIn, `the options box, ${shape}`);
    await screenshot(page, `screens-phone-${shape}-options`);
    await checkLabelsInPanel(page, v, shape);
    await tapVirtual(v, 100, 60);
    await waitForBox(page, optionsOut, `the options box closed, ${shape}`);
  }

  // The tutorial, started with the play button in the middle of the strip, 48 units above the foot.
  let v = await waitForView(page, (v) => v.state === 1, 'the menu');
  await tapVirtual(v, v.screen.w - 70, v.screen.h - 48);
  v = await waitForView(page, inPlay, 'the tutorial on its side');
  await checkGridWhole(page, v, 'side');
  await screenshot(page, 'screens-phone-side-play');
  await tapVirtual(v, 16, 16);
  v = await waitForView(page, pauseMenuIn, 'paused on its side');
  await screenshot(page, 'screens-phone-side-pause');
  v = await turn('upright');
  v = await waitForView(page, pauseMenuIn, 'paused upright');
  await screenshot(page, 'screens-phone-upright-pause');
  // Resume is the middle icon of the pause menu, at (64, 196).
  await tapVirtual(v, 64, 196);
  v = await waitForView(page, inPlay, 'play resumed upright');
  await checkGridWhole(page, v, 'upright');
  await screenshot(page, 'screens-phone-upright-play');
  assert.deepEqual(errors, []);
  assert.deepEqual(labelFaults, [], 'every label of the options box ends inside its panel');
  console.log(`screens: art reloaded larger, phone upright and on its side in menu, options, play and pause, in ${
    Date.now() - started} ms`);
});

// Every cell of the 13 x 13 grid lies on the canvas: each letter's cell, centred on where it is drawn.
async function checkGridWhole(page, v, shape) {
  const canvas = await page.evaluate(() => ({w: Module.canvas.width, h: Module.canvas.height}));
  const {left, top, cell} = v.grid;
  const box = {left: left - cell / 2, top: top - cell / 2, right: left + 12.5 * cell, bottom: top + 12.5 * cell};
  assert.ok(box.left >= 0 && box.top >= 0 && box.right <= canvas.w && box.bottom <= canvas.h,
            `the grid lies wholly on the ${shape} screen: ${JSON.stringify({box, canvas})}`);
}

// The options rows' labels (white, from x 100, in the rows from y 128 to 284) end inside the panel, which
// leaves 50 units free at the right edge: nothing white is drawn there. A fault is kept for the end, so the
// other screens are still looked at.
async function checkLabelsInPanel(page, v, shape) {
  const s = v.screen.scale;
  const rows = await pixelsIn(page, {x: (v.screen.w - 49) * s, y: 128 * s, width: 49 * s, height: 156 * s});
  let white = 0;
  for (const row of rows) for (const [r, g, b] of row) if (r > 200 && g > 200 && b > 200) ++white;
  if (white > 0) labelFaults.push(`${shape}: ${white} white pixels right of the options panel`);
}
