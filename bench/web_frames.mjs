// The web page's cost of a play frame: the tutorial's first word in play at 640 x 480 in a headless Chromium
// with software WebGL, for a number of seconds. Prints one JSON line: the page's main-thread CPU time per frame
// (the browser's own count of its busy time), the drawing process's CPU time per frame (SwiftShader rasterises
// there), the frames drawn, and how many 60 Hz slots a minute no frame took.
// Usage: node web_frames.mjs <web build folder> [seconds]   (the folder holds site/ and test-program/)
// Depends on tests/web/harness.mjs (the served site, the browser, the test program's view) and Linux's /proc.
// NOTE: the game is started from the menu with Enter, as a player would, and measured once its letters rest.
import fs from 'node:fs';
import { inPlay, menuAtRest, openPage, waitForView, withBrowsing } from '../tests/web/harness.mjs';

if (process.argv[2]) process.env.QUORLIX_WEB_BUILD = process.argv[2];
const seconds = Number(process.argv[3] || 20);

// CPU seconds (user and system) of every process whose command line has all of the given words.
function cpuOf(words) {
  let total = 0;
  for (const pid of fs.readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    try {
      const command = fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8');
      if (!words.every((word) => command.includes(word))) continue;
      const fields = fs.readFileSync(`/proc/${pid}/stat`, 'utf8').split(') ')[1].split(' ');
      total += (Number(fields[11]) + Number(fields[12])) / 100;
    } catch {
      // a process that ended meanwhile
    }
  }
  return total;
}

await withBrowsing(async ({url, browser}) => {
  const {page} = await openPage(browser, {width: 640, height: 480});
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('Performance.enable');
  await page.goto(url);
  await waitForView(page, menuAtRest, 'the menu');
  await page.keyboard.press('Enter', {delay: 120});  // held as a hand holds a key: the menu reads held keys
  await waitForView(page, inPlay, 'the letters at rest');
  await page.evaluate(() => {
    window.quorlixFrames = {count: 0, missed: 0, last: 0};
    const tick = (time) => {
      const f = window.quorlixFrames;
      if (f.last > 0) f.missed += Math.max(0, Math.round((time - f.last) / (1000 / 60)) - 1);
      f.last = time;
      ++f.count;
      requestAnimationFrame(tick);
    };
    requestAnimationFrame(tick);
  });
  await page.waitForTimeout(500);
  const busy = async () => (await cdp.send('Performance.getMetrics')).metrics.find((m) => m.name === 'TaskDuration').value;
  const frames0 = await page.evaluate(() => ({...window.quorlixFrames}));
  const main0 = await busy(), gpu0 = cpuOf(['chromium', '--type=gpu-process']);
  await page.waitForTimeout(seconds * 1000);
  const frames1 = await page.evaluate(() => ({...window.quorlixFrames}));
  const main1 = await busy(), gpu1 = cpuOf(['chromium', '--type=gpu-process']);
  const frames = frames1.count - frames0.count;
  console.log(JSON.stringify({
    frames,
    mainMsPerFrame: +((main1 - main0) * 1000 / frames).toFixed(3),
    gpuProcessMsPerFrame: +((gpu1 - gpu0) * 1000 / frames).toFixed(3),
    missedPerMinute: +((frames1.missed - frames0.missed) * 60 / seconds).toFixed(1),
  }));
}, {warm: false});
