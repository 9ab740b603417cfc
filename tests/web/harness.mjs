// What every browser test shares: the site of the web build served on a free loopback port, Debian's chromium
// started headless with its software WebGL and driven through Playwright, and ways to look at the game as a
// player does: the canvas's pixels, and (through the test program only) what the grid holds.
// Depends on playwright-core (web/package.json), /usr/bin/chromium, web/serve.mjs, and the web build named by
// QUORLIX_WEB_BUILD: its site/ and the test program beside it (test-program/quorlix-test.*), which answers
// quorlix_test_view() and is served in place of the site's own program.
// NOTE: a test reads the game's state only through that answer or the pixels, and acts only through the page's
// keys, mouse, touches and gamepads, as a player would.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { serve } from '../../web/serve.mjs';

const { chromium } = await import(new URL('../../web/node_modules/playwright-core/index.mjs', import.meta.url));

export const build = process.env.QUORLIX_WEB_BUILD;
if (!build || !fs.existsSync(path.join(build, 'site', 'index.html'))) {
  console.error(`no web site at QUORLIX_WEB_BUILD=${build} (make web-site makes one)`);
  process.exit(1);
}
export const site = path.join(build, 'site');
const testProgram = path.join(build, 'test-program');
// Where the tests keep their screenshots, for a person to look at.
export const shots = process.env.QUORLIX_WEB_SHOTS || path.join(build, 'shots');
fs.mkdirSync(shots, {recursive: true});

// The flags a headless chromium needs here: software WebGL, and none of the background connections this
// machine's closed network would refuse.
const kChromiumFlags = [
  '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync', '--disable-quic',
  '--autoplay-policy=user-gesture-required',
];

// Serves the site with the test program in place of its own; answers the server and the page's address.
export async function serveSite({program = 'test', port = 0} = {}) {
  const overrides = {};
  if (program === 'test') {
    overrides['/quorlix.js'] = path.join(testProgram, 'quorlix-test.js');
    for (const name of ['quorlix-test.wasm', 'quorlix-test.data']) overrides[`/${name}`] = path.join(testProgram, name);
  }
  const server = await serve(site, port, overrides);
  return {server, url: `http://127.0.0.1:${server.address().port}/`};
}

// A browser of its own for one test, with every console error and page error it shows collected.
export async function launch() {
  return chromium.launch({executablePath: '/usr/bin/chromium', headless: true, args: kChromiumFlags});
}

// A page in a new browsing context (storage of its own) of the given shape; errors[] collects what the page's
// console and script report as errors.
export async function openPage(browser, {width = 640, height = 480, dpr = 1, touch = false, context} = {}) {
  const ctx = context || await browser.newContext({
    viewport: {width, height}, deviceScaleFactor: dpr, hasTouch: touch, isMobile: touch,
  });
  const page = await ctx.newPage();
  const errors = [];
  page.on('console', (message) => { if (message.type() === 'error') errors.push(message.text()); });
  page.on('pageerror', (error) => errors.push(error.message));
  return {context: ctx, page, errors};
}

// What the game shows now, from the test program's answer.
export async function view(page) {
  return page.evaluate(() => JSON.parse(UTF8ToString(Module._quorlix_test_view())));
}

// Waits until the view satisfies a condition; fails after timeout milliseconds.
export async function waitForView(page, condition, what, timeout = 20000) {
  const until = Date.now() + timeout;
  let last;
  for (;;) {
    try {
      last = await view(page);
      if (condition(last)) return last;
    } catch {
      // the program is not running yet
    }
    if (Date.now() > until) assert.fail(`waited ${timeout} ms for ${what}; last view: ${JSON.stringify(last)}`);
    await page.waitForTimeout(50);
  }
}

// Reads the canvas's pixel at a point given as fractions of its size, as [r, g, b], straight from the game's
// drawing context (whose buffer is kept between frames), in the page. NOTE: one pixel read back costs little;
// copying the canvas would cost a whole frame's read back at every look.
const kReadPixel = `(fx, fy) => {
  const canvas = document.getElementById('canvas');
  const gl = canvas && canvas.width > 0 && canvas.getContext('webgl');
  if (!gl) return null;
  const out = new Uint8Array(4);
  gl.readPixels(Math.floor(fx * (canvas.width - 1)), Math.floor((1 - fy) * (canvas.height - 1)), 1, 1, gl.RGBA,
                gl.UNSIGNED_BYTE, out);
  return [out[0], out[1], out[2]];
}`;

// The colours [r, g, b] of the canvas at points given as fractions of its size ([[0.5, 0.5], ...]).
export async function pixelsAt(page, points) {
  return page.evaluate(({read, wanted}) => {
    const pixel = eval(read);
    return wanted.map(([fx, fy]) => pixel(fx, fy));
  }, {read: kReadPixel, wanted: points});
}

// Waits, inside the page at every animation frame, until the menu is drawn: its warm brown background in the
// middle and the darker strip at the right edge (the loading screen is black there). Answers the time of that
// frame in milliseconds since the navigation began; -1 when it is not drawn within timeout milliseconds.
export async function menuDrawnAfter(page, timeout = 10000) {
  return page.evaluate(({read, limit}) => new Promise((resolve) => {
    const pixel = eval(read);
    const look = () => {
      const middle = pixel(0.5, 0.5), right = pixel(1, 0.5);
      if (middle && middle[0] > 120 && middle[0] > middle[2] + 60 && right[0] > 40 && right[0] < middle[0]) {
        resolve(performance.now());
      } else if (performance.now() > limit) {
        resolve(-1);
      } else {
        requestAnimationFrame(look);
      }
    };
    look();
  }), {read: kReadPixel, limit: timeout});
}

export async function screenshot(page, name) {
  await page.screenshot({path: path.join(shots, `${name}.png`)});
}

// The page pixel (CSS) at the middle of a grid cell's letter, from the test program's layout in canvas pixels.
export function cellOnPage(v, x, y, dpr = 1) {
  return {x: (v.grid.left + x * v.grid.cell) / dpr, y: (v.grid.top + y * v.grid.cell) / dpr};
}

// Where the word in play lies in the grid: its first letter and the way it runs (1 right, 2 down, 3 left, 4 up).
export function findWord(v) {
  const steps = [null, [1, 0], [0, 1], [-1, 0], [0, -1]];
  for (let y = 0; y < 13; ++y) {
    for (let x = 0; x < 13; ++x) {
      for (let d = 1; d <= 4; ++d) {
        let fits = true;
        for (let i = 0; i < v.word.length && fits; ++i) {
          const cx = x + steps[d][0] * i, cy = y + steps[d][1] * i;
          fits = cx >= 0 && cx < 13 && cy >= 0 && cy < 13 && v.rows[cy][cx] === v.word[i];
        }
        if (fits) return {x, y, dx: steps[d][0], dy: steps[d][1]};
      }
    }
  }
  return null;
}

export { assert };
