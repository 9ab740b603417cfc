// The game in two more engines than Chromium: Firefox ESR, driven over WebDriver BiDi by puppeteer-core, and
// WebKitGTK (the engine of every iPhone browser), its MiniBrowser driven by WebKitWebDriver through
// selenium-webdriver; each in a window of its own on the virtual display this test is run under (headless
// Firefox draws no WebGL here). In each: the menu, the tutorial started with Space, its six words found by
// mouse, the result kept over a reload, and a second tab told the game is open in the first.
// Depends on the harness (the served site with the test program, the view, the grid's layout), Debian's
// firefox-esr, webkit2gtk-driver and libwebkit2gtk-4.1-0, and web/node_modules.
// NOTE: Firefox's WebDriver sends Enter as the keypad's, which the game does not take: the tutorial is started
// with Space. WebKit counts a key only when it is held for a frame or two, so every key is held for 100 ms.
import { spawn } from 'node:child_process';
import net from 'node:net';
import puppeteer from '../../web/node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js';
import webdriver from '../../web/node_modules/selenium-webdriver/index.js';
import { assert, cellOnPage, findWord, inPlay, menuAtRest, serveSite } from './harness.mjs';

const kWidth = 640, kHeight = 480;
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const lookInside = () => JSON.parse(UTF8ToString(Module._quorlix_test_view()));
const secondTabShown = () => !document.getElementById('second-tab').hidden;

// Firefox: its pages, each answering the calls the smoke run makes.
async function firefox() {
  const browser = await puppeteer.launch({
    browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: false,
    extraPrefsFirefox: {'webgl.force-enabled': true},
  });
  const tab = async () => {
    const page = await browser.newPage();
    await page.setViewport({width: kWidth, height: kHeight});
    return {
      goto: (url) => page.goto(url),
      reload: () => page.reload(),
      evaluate: (fn) => page.evaluate(fn),
      move: (x, y) => page.mouse.move(x, y, {steps: 2}),
      press: () => page.mouse.down(),
      release: () => page.mouse.up(),
      // NOTE: over BiDi a key goes by the character it types.
      key: async (name) => {
        const key = name === 'Space' ? ' ' : name;
        await page.keyboard.down(key);
        await sleep(100);
        await page.keyboard.up(key);
      },
    };
  };
  return {name: 'Firefox ESR', tab, close: () => browser.close()};
}

// WebKitGTK: WebKitWebDriver on a free port, and its MiniBrowser; a second tab is a second window.
async function webkit() {
  const port = await new Promise((resolve) => {
    const probe = net.createServer().listen(0, '127.0.0.1', () => {
      const {port: free} = probe.address();
      probe.close(() => resolve(free));
    });
  });
  const server = spawn('WebKitWebDriver', [`--port=${port}`], {stdio: 'ignore'});
  await sleep(1000);
  const capabilities = new webdriver.Capabilities({
    browserName: 'MiniBrowser', pageLoadStrategy: 'none',
    'webkitgtk:browserOptions': {binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser', args: ['--automation']},
  });
  const driver = await new webdriver.Builder().usingServer(`http://127.0.0.1:${port}`)
    .withCapabilities(capabilities).build();
  let tabs = 0;
  const tab = async () => {
    if (tabs++ > 0) await driver.switchTo().newWindow('window');
    await driver.manage().window().setRect({width: kWidth + 60, height: kHeight + 120});
    const actions = () => driver.actions({async: true});
    return {
      goto: (url) => driver.get(url),
      reload: () => driver.navigate().refresh(),
      evaluate: (fn) => driver.executeScript(`return (${fn})();`),
      move: (x, y) => actions().move({x: Math.round(x), y: Math.round(y), origin: 'viewport'}).perform(),
      press: () => actions().press().perform(),
      release: () => actions().release().perform(),
      key: (name) => actions().keyDown(webdriver.Key[name.toUpperCase()]).pause(100)
        .keyUp(webdriver.Key[name.toUpperCase()]).perform(),
    };
  };
  return {
    name: 'WebKitGTK', tab,
    close: async () => {
      await driver.quit().catch(() => {});
      server.kill();
    },
  };
}

// Waits until what the page answers satisfies a condition; fails after timeout milliseconds.
async function until(page, look, condition, what, timeout = 30000) {
  const end = Date.now() + timeout;
  let last;
  for (;;) {
    try {
      last = await page.evaluate(look);
      if (condition(last)) return last;
    } catch {
      // the program is not running yet
    }
    if (Date.now() > end) assert.fail(`waited ${timeout} ms for ${what}; last: ${JSON.stringify(last)}`);
    await sleep(100);
  }
}

// The smoke run in one engine.
async function smoke(engine, url) {
  const page = await engine.tab();
  await page.goto(url);
  let v = await until(page, lookInside, menuAtRest, 'the menu');
  await page.key('Space');
  v = await until(page, lookInside, (v) => inPlay(v) && v.gameNum === 1, 'the tutorial');
  for (let word = 0; word < 6; ++word) {
    v = await until(page, lookInside, (v) => inPlay(v) && v.counter === word && v.selection === 0, `word ${word + 1}`);
    const at = findWord(v);
    assert.ok(at, `${v.word} lies in the grid`);
    const first = cellOnPage(v, at.x, at.y), next = cellOnPage(v, at.x + at.dx, at.y + at.dy);
    await page.move(first.x, first.y);
    await page.press();
    await until(page, lookInside, (v) => v.selection === 1, `a start on ${v.word}`);
    await page.move(next.x, next.y);
    await until(page, lookInside, (v) => v.selection >= 2, `a direction along ${v.word}`);
    await page.release();
    await until(page, lookInside, (v) => v.counter > word || v.puzzleDone === 1, `${v.word} found`);
  }
  v = await until(page, lookInside, (v) => v.state === 1 && v.finishTimer === 0, 'the menu after the tutorial');
  assert.equal(v.best[0], 6, `${engine.name}: the tutorial filed as six words`);
  await page.reload();
  v = await until(page, lookInside, menuAtRest, 'the menu after a reload');
  assert.equal(v.best[0], 6, `${engine.name}: the result kept over a reload`);
  const second = await engine.tab();
  await second.goto(url);
  await until(second, secondTabShown, (shown) => shown, 'the second tab told of the first');
}

const started = Date.now();
const {server, url} = await serveSite();
let failed = false;
try {
  for (const open of [firefox, webkit]) {
    const engine = await open();
    try {
      const began = Date.now();
      await smoke(engine, url);
      console.log(`engines: ${engine.name} played, kept its result and told a second tab, in ${(Date.now() - began) / 1000} s`);
    } finally {
      await engine.close();
    }
  }
} catch (error) {
  console.error(error);
  failed = true;
} finally {
  server.close();
}
if (failed) process.exit(1);
console.log(`engines: in ${(Date.now() - started) / 1000} s`);
