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
import { chromium } from '../../web/node_modules/playwright-core/index.mjs';
import { serve } from '../../web/serve.mjs';

// The web build the tests play, named by QUORLIX_WEB_BUILD; looked up only when a site is served or a
// screenshot kept, so that importing the harness does nothing.
export function webBuild() {
  const build = process.env.QUORLIX_WEB_BUILD;
  if (!build || !fs.existsSync(path.join(build, 'site', 'index.html'))) {
    throw new Error(`no web site at QUORLIX_WEB_BUILD=${build} (make web-site makes one)`);
  }
  return build;
}

// The flags a headless chromium needs here: software WebGL, and none of the background connections this
// machine's closed network would refuse (the phone benchmark starts Lighthouse's browser with them too).
export const kChromiumFlags = [
  '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-sandbox', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync', '--disable-quic',
];

// Lighthouse's mobile profile (its moto g power of 2022): screen, network and processor; emulatePhone gives it
// to a page through its DevTools protocol session (a context made with viewport: null, so the emulated screen
// is the page's alone).
export const kPhone = {width: 412, height: 823, deviceScaleFactor: 1.75};
export const kPhoneNetwork = {offline: false, latency: 150, downloadThroughput: 1.6e6 / 8, uploadThroughput: 675e3 / 8};
export const kPhoneCpuSlowdown = 4;
export async function emulatePhone(session) {
  await session.send('Emulation.setDeviceMetricsOverride', {
    ...kPhone, mobile: true, screenWidth: kPhone.width, screenHeight: kPhone.height,
    screenOrientation: {type: 'portraitPrimary', angle: 0},
  });
  await session.send('Emulation.setTouchEmulationEnabled', {enabled: true, maxTouchPoints: 5});
  await session.send('Network.emulateNetworkConditions', kPhoneNetwork);
  await session.send('Emulation.setCPUThrottlingRate', {rate: kPhoneCpuSlowdown});
}

// Serves the site with the test program in place of its own; answers the server and the page's address.
export async function serveSite({program = 'test', port = 0} = {}) {
  const build = webBuild(), overrides = {};
  if (program === 'test') {
    // NOTE: the page compiles quorlix.wasm itself, so the test program's is served under that name too.
    overrides['/quorlix.js'] = path.join(build, 'test-program', 'quorlix-test.js');
    overrides['/quorlix.wasm'] = path.join(build, 'test-program', 'quorlix-test.wasm');
  }
  const server = await serve(path.join(build, 'site'), port, overrides);
  return {server, url: `http://127.0.0.1:${server.address().port}/`};
}

// A headless chromium of its own for one test, drawing with software WebGL (openPage collects what its pages
// report as errors).
export async function launch() {
  return chromium.launch({executablePath: '/usr/bin/chromium', headless: true, args: kChromiumFlags});
}

// Starts the browser's graphics and sound on a blank page, as a player's browser has them running already.
// NOTE: the software rasteriser starts once, at the first drawing context any page of the browser makes, and
// the browser's audio service at its first sound: over a second and some 400 ms on this machine, which has no
// graphics card and no sound card, where a player's browser takes a few milliseconds.
export async function warmGraphics(browser) {
  const blank = await browser.newPage();
  await blank.evaluate(async () => {
    const gl = document.createElement('canvas').getContext('webgl');
    gl.clear(gl.COLOR_BUFFER_BIT);
    gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, new Uint8Array(4));
    await new AudioContext().close();
  });
  await blank.close();
}

// Runs body({server, url, browser}) with the site served (with the given program, see serveSite) and a browser
// of its own whose graphics and sound have started (unless warm is false), and closes both however it ends;
// answers what body answers. A failure is printed and ends the script with status 1.
export async function withBrowsing(body, {program = 'test', warm = true} = {}) {
  let site, browser, failed = false;
  try {
    site = await serveSite({program});
    browser = await launch();
    if (warm) await warmGraphics(browser);
    return await body({...site, browser});
  } catch (error) {
    console.error(error);
    failed = true;
  } finally {
    await browser?.close();
    site?.server.close();
    if (failed) process.exit(1);
  }
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

// Waits until the view (or what look answers for the page) satisfies a condition; fails after timeout
// milliseconds.
export async function waitForView(page, condition, what, {timeout = 20000, look = view} = {}) {
  const until = Date.now() + timeout;
  let last;
  for (;;) {
    try {
      last = await look(page);
      if (condition(last)) return last;
    } catch {
      // the program is not running yet
    }
    if (Date.now() > until) assert.fail(`waited ${timeout} ms for ${what}; last view: ${JSON.stringify(last)}`);
    await page.waitForTimeout(50);
  }
}

// Waits, looking inside the page every 50 ms, until the menu's first frame is drawn: the menu fades in from
// black, and its first frame already shows the warm hue of its background in the middle, where the loading
// screen is blue or black. Answers the time it was seen, in milliseconds since the navigation began; -1 when it
// is not drawn within timeout milliseconds.
// NOTE: a pixel read back waits for the browser to finish drawing what is pending (some 3 ms each with software
// drawing): looking more often would slow the very start it measures. The time answered is late by less than
// the 50 ms between looks, never early.
export async function menuDrawnAfter(page, timeout = 10000) {
  return page.evaluate((limit) => new Promise((resolve) => {
    const look = () => {
      // NOTE: the game's own context (Module.ctx, once the game has made it): asking the canvas for one would
      // make it with other attributes, which the game's would then have.
      const canvas = document.getElementById('canvas');
      const gl = window.Module && Module.ctx;
      const pixel = new Uint8Array(4);
      if (gl) gl.readPixels(canvas.width >> 1, canvas.height >> 1, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
      const [r, g, b] = pixel;
      if (r >= 12 && r >= 1.6 * g && r >= 4 * b + 2) {
        resolve(performance.now());
      } else if (performance.now() > limit) {
        resolve(-1);
      } else {
        setTimeout(look, 50);
      }
    };
    look();
  }), timeout);
}

// The colours [r, g, b] of a rectangle of the canvas given in its pixels ({x, y, width, height}, y downwards),
// row by row from the top: one read back for the whole rectangle.
export async function pixelsIn(page, box) {
  return page.evaluate(({x, y, width, height}) => {
    const canvas = document.getElementById('canvas');
    const gl = Module.ctx;  // the game's own context (see menuDrawnAfter)
    const left = Math.max(0, Math.floor(x)), top = Math.max(0, Math.floor(y));
    const w = Math.min(canvas.width, Math.floor(x + width)) - left;
    const h = Math.min(canvas.height, Math.floor(y + height)) - top;
    if (w <= 0 || h <= 0) return [];
    const out = new Uint8Array(4 * w * h);
    gl.readPixels(left, canvas.height - top - h, w, h, gl.RGBA, gl.UNSIGNED_BYTE, out);
    const rows = [];
    for (let row = h - 1; row >= 0; --row) {
      const pixels = [];
      for (let i = 4 * row * w; i < 4 * (row + 1) * w; i += 4) pixels.push([out[i], out[i + 1], out[i + 2]]);
      rows.push(pixels);
    }
    return rows;
  }, box);
}

// Waits for n of the page's animation frames, each of which runs the game's frame (and its due updates).
export async function frames(page, n = 3) {
  await page.evaluate((count) => new Promise((resolve) => {
    const next = (left) => (left === 0 ? resolve() : requestAnimationFrame(() => next(left - 1)));
    next(count);
  }), n);
}

// Presses a key (a name of Playwright's: 'Escape', 'ArrowDown', 'KeyZ') and holds it for a few frames, as a
// player's finger does. NOTE: the game reads which keys are held at each update; a press and release within
// one frame, as keyboard.press() sends them, would never be seen held.
export async function tapKey(page, key) {
  await page.keyboard.down(key);
  await frames(page, 4);
  await page.keyboard.up(key);
  await frames(page, 2);
}

// A finger on the page: real touch events through the DevTools protocol (the page's context needs hasTouch),
// at page (CSS) pixels. One finger at a time, always touch 0.
export async function finger(page) {
  const session = await page.context().newCDPSession(page);
  const send = (type, points) => session.send('Input.dispatchTouchEvent', {type, touchPoints: points});
  return {
    down: (x, y) => send('touchStart', [{x, y, id: 0}]),
    move: (x, y) => send('touchMove', [{x, y, id: 0}]),
    up: () => send('touchEnd', []),
    // A tap held for a few frames, so the game's updates see the finger down.
    tap: async (x, y) => {
      await send('touchStart', [{x, y, id: 0}]);
      await frames(page, 4);
      await send('touchEnd', []);
      await frames(page, 2);
    },
  };
}

// The page (CSS) pixel of a point of the game's virtual screen, from the view's screen scale.
export function virtualOnPage(v, x, y, dpr = 1) {
  return {x: (x * v.screen.scale) / dpr, y: (y * v.screen.scale) / dpr};
}

// Keeps a screenshot of the page for a person to look at, in QUORLIX_WEB_SHOTS (the build's shots/ without it).
// NOTE: a page emulating a screen through its own DevTools session (emulatePhone) is taken through that session:
// Playwright's own screenshot would put its idea of the screen back first, and the game would see it change.
export async function screenshot(page, name, session = null) {
  const shots = process.env.QUORLIX_WEB_SHOTS || path.join(webBuild(), 'shots');
  fs.mkdirSync(shots, {recursive: true});
  const file = path.join(shots, `${name}.png`);
  if (session) {
    fs.writeFileSync(file, Buffer.from((await session.send('Page.captureScreenshot', {format: 'png'})).data, 'base64'));
  } else {
    await page.screenshot({path: file});
  }
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

// The menu at rest: loaded, slid in, the wheel still, and laid out on this screen, 64 units above its foot.
// NOTE: the menu lays the wheel out as it runs, and it does not run while the art loads: in the update that ends
// a loading after the screen turned, the wheel still stands where the last screen had it.
export const menuAtRest = (v) => v.state === 1 && v.loading === 0 && v.menuSlide === 0 && v.wheel.settled &&
  v.wheel.y === Math.trunc(v.screen.h - 64);

// A puzzle in play: not paused, and every letter of the grid at rest in its cell.
export const inPlay = (v) => v.state === 10 && v.paused === 0 && v.settled;

// The pause menu is in: play paused, and the menu's panel slid in to the middle of the screen.
export const pauseMenuIn = (v) => v.paused === 1 && v.pauseChoice === 1 && v.pausePanelY >= Math.trunc(v.screen.h / 2);

// The options box slid fully in (open), or fully out.
export const optionsIn = (v) => v.optionsOpen === 1 && v.optionsSlide === 30;
export const optionsOut = (v) => v.optionsOpen === 0 && v.optionsSlide === 0;

// Waits until the view satisfies optionsIn or optionsOut (or a condition including one), and the game takes
// controls again; answers the view. NOTE: the box holds every key and the pointer in each update it slides, the
// last one included: a control already held at the next update would have to be let go of before it acts.
export async function waitForBox(page, condition, what) {
  const v = await waitForView(page, condition, what);
  await frames(page, 3);
  return v;
}

// Finds the word in play with the mouse, as a player does: presses on its first letter, moves one cell along
// it and lets go once the game has taken the direction (the selection then grows to the word by itself).
export async function findWordWithMouse(page, v, dpr = 1) {
  const at = findWord(v);
  assert.ok(at, `the word ${v.word} lies in the grid`);
  const first = cellOnPage(v, at.x, at.y, dpr), next = cellOnPage(v, at.x + at.dx, at.y + at.dy, dpr);
  await page.mouse.move(first.x, first.y);
  await page.mouse.down();
  await waitForView(page, (v) => v.selection === 1, `a start chosen on ${v.word}`);
  await page.mouse.move(next.x, next.y, {steps: 2});
  await waitForView(page, (v) => v.selection >= 2, `a direction chosen along ${v.word}`);
  await page.mouse.up();
}

// The progress record as this browser stores it for the site (the state folder's copy in IndexedDB), as its
// list of numbers; null when nothing is stored yet.
export async function storedRecord(page) {
  return page.evaluate(() => new Promise((resolve, reject) => {
    const open = indexedDB.open('/state');
    open.onerror = () => reject(open.error);
    open.onsuccess = () => {
      const db = open.result;
      // NOTE: closed as soon as it is read: a connection left open would hold up the game's own opening.
      if (!db.objectStoreNames.contains('FILE_DATA')) {
        db.close();
        resolve(null);
        return;
      }
      const get = db.transaction('FILE_DATA', 'readonly').objectStore('FILE_DATA').get('/state/.zindlestate');
      get.onsuccess = () => {
        db.close();
        const entry = get.result;
        resolve(entry ? new TextDecoder().decode(entry.contents).split('|').slice(0, -1).map(Number) : null);
      };
      get.onerror = () => {
        db.close();
        reject(get.error);
      };
    };
  }));
}

// Where a record's fields lie: the 25 settings, their sum, 8 badge words and theirs, then 21 fields per group
// (best and last results in turn, then the row's sum).
export const record = {
  setting: (fields, i) => fields[i],
  best: (fields, group) => fields[35 + 21 * group],
  last: (fields, group) => fields[36 + 21 * group],
};

export { assert };
