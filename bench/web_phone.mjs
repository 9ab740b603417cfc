// A first visit to the web site as a phone sees it. Two parts, each printing a compact table:
//  - visits: the site's own program served by web/serve.mjs (which compresses as a static host does), each visit
//    in a fresh headless Chromium (a profile of its own) whose page is given Lighthouse's mobile profile through
//    the DevTools protocol: a 412 x 823 screen at a pixel ratio of 1.75 with touch, 150 ms latency, 1.6 Mbps down
//    and 675 kbps up, the processor slowed four times. For each visit: the time from navigation to the menu's
//    first frame, the bytes downloaded before it (by file), the time until the sharp art shows, and the longest
//    main-thread tasks; then the median and spread of the visits. The site's service worker gets the same network
//    conditions, on a link of its own (the protocol throttles each target apart), and its bytes are told apart.
//  - Lighthouse (pinned in bench/web/package.json) against the same served site, with its mobile and desktop
//    presets: the performance, accessibility and best-practices scores and the total blocking time.
// Usage: node web_phone.mjs <web build folder> [visits] [--cold] [--no-visits] [--no-lighthouse]
//                           [--lighthouse-runs=N]
//   visits defaults to 3; --cold leaves the browser's graphics and sound to start with the page (see below).
// Depends on tests/web/harness.mjs (the served site, the browser and its flags, the menu's pixels),
// /usr/bin/chromium, the DevTools protocol's Network, Emulation and Page domains, the page's Module.quorlix
// (web/page/quorlix-page.js: the art level a canvas wants and the one the game shows), and
// bench/web/node_modules (make's bench-web runs npm ci there).
// NOTE: as in web_visits.mjs, each browser's software rasteriser and sound are started on a blank page before
// the visit (warmGraphics): on this machine they take over a second, where a phone's browser has them running.
// The phone's throttling is applied to the visit's page alone, after that.
import fs from 'node:fs';
import path from 'node:path';
import { spawn } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import {
  emulatePhone, kChromiumFlags, kPhone, kPhoneCpuSlowdown, kPhoneNetwork, launch, menuDrawnAfter, openPage, serveSite,
  warmGraphics,
} from '../tests/web/harness.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const args = process.argv.slice(2);
const flag = (name) => args.includes(name);
const option = (name, fallback) => {
  const given = args.find((arg) => arg.startsWith(`${name}=`));
  return given ? given.slice(name.length + 1) : fallback;
};
const positional = args.filter((arg) => !arg.startsWith('--'));
if (positional[0]) process.env.QUORLIX_WEB_BUILD = positional[0];
const visits = Number(positional[1] || 3);
const lighthouseRuns = Number(option('--lighthouse-runs', 1));
if (!(visits >= 1) || !(lighthouseRuns >= 1)) {
  console.error('usage: node web_phone.mjs <web build folder> [visits] [--cold] [--no-visits] [--no-lighthouse] ' +
                '[--lighthouse-runs=N]');
  process.exit(2);
}

// Lighthouse's mobile profile (the harness's): screen, network and processor.
const kNetwork = kPhoneNetwork, kCpuSlowdown = kPhoneCpuSlowdown;
// How long a throttled visit may take to show the menu, then the sharp art: the art a phone's screen wants is
// over a megabyte, some 8 s at 1.6 Mbps.
const kMenuTimeout = 180000, kSharpTimeout = 120000;
// How long the page is watched for long tasks after the sharp art shows.
const kAfterSharp = 1000;

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b), middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const spread = (values) => `${Math.min(...values)}..${Math.max(...values)}`;
const kb = (bytes) => `${(bytes / 1024).toFixed(1)} KiB`;

// Watches the page from its first script on (given to Page.addScriptToEvaluateOnNewDocument), into
// window.quorlixPhone:
//  - longTasks: every task of the main thread over 50 ms, as the browser's long-task entries report them;
//  - sharp: the time the sharp art shows. The page picks the art level from the canvas's size in device pixels
//    (Module.quorlix.artLevel); the game starts on the art that has arrived and tells the page each level it
//    shows (Module.quorlix.artShown, host/web/webhost.js's quorlix_art_shown), the sharper one as soon as it is
//    in its slots. So the sharp art is in use once the level shown reaches the level wanted; seen in an animation
//    frame, it is on screen two frames later (the game's next frame draws with it, whichever order the two
//    frame callbacks run in), and that frame's time is taken;
//  - firstLevel, wantedLevel, canvas: the level of the first art shown, the level wanted, the canvas's size;
//  - frames: the longest gap between two animation frames from the first art to the sharp art and a second
//    after, with the time it ended.
const kWatcher = `(() => {
  const phone = window.quorlixPhone = {longTasks: [], sharp: -1, firstLevel: 0, wantedLevel: 0, canvas: '',
                                       longestFrame: 0, longestFrameAt: -1};
  try {
    new PerformanceObserver((list) => {
      for (const task of list.getEntries()) {
        const by = task.attribution && task.attribution[0];
        phone.longTasks.push({start: task.startTime, duration: task.duration,
                              by: by ? [by.containerType, by.containerSrc || by.containerName].filter(Boolean).join(' ') : ''});
      }
    }).observe({type: 'longtask', buffered: true});
  } catch (error) {
    phone.longTasks = null;  // no long-task entries in this browser
  }
  let seenAt = -1, frame = 0, last = -1, until = -1;
  const watch = (now) => {
    ++frame;
    const page = window.Module && Module.quorlix, canvas = document.getElementById('canvas');
    if (page && page.artShown && canvas) {
      if (!phone.firstLevel) phone.firstLevel = page.artShown;
      if (last >= 0 && now - last > phone.longestFrame) {
        phone.longestFrame = now - last;
        phone.longestFrameAt = now;
      }
      last = now;
    }
    if (seenAt < 0 && page && page.artShown && canvas) {
      const ratio = window.devicePixelRatio || 1, box = canvas.getBoundingClientRect();
      const width = Math.max(1, Math.round(box.width * ratio)), height = Math.max(1, Math.round(box.height * ratio));
      const level = page.artLevel(width, height);
      phone.wantedLevel = level;
      if (page.artShown >= level) {
        seenAt = frame;
        phone.canvas = width + 'x' + height;
      }
    }
    if (seenAt >= 0 && frame === seenAt + 2) {
      phone.sharp = performance.now();
      until = phone.sharp + 1000;
    }
    if (until >= 0 && now > until) return;
    requestAnimationFrame(watch);
  };
  requestAnimationFrame(watch);
})();`;

// One first visit in a fresh browser; answers what it measured.
async function visit(url, cold) {
  const browser = await launch();
  try {
    if (!cold) await warmGraphics(browser);
    // NOTE: no viewport of Playwright's: the screen is the DevTools protocol's emulation below, alone.
    const context = await browser.newContext({viewport: null});
    const {page, errors} = await openPage(browser, {context});
    const session = await context.newCDPSession(page);

    // The bytes of every response as they came over the connection, and when each finished (the protocol's
    // clock, in seconds); those the page's requests took from the browser's cache or the service worker are
    // marked so.
    const urls = new Map(), sources = new Map(), finished = [], workerFinished = [];
    let documentTiming = null;
    session.on('Network.requestWillBeSent', (event) => urls.set(event.requestId, event.request.url));
    session.on('Network.responseReceived', (event) => {
      if (event.type === 'Document' && !documentTiming) documentTiming = event.response.timing;
      const from = event.response.fromServiceWorker ? 'service worker' : event.response.fromDiskCache ? 'cache' : '';
      if (from) sources.set(event.requestId, from);
    });
    session.on('Network.loadingFinished', (event) => {
      finished.push({url: urls.get(event.requestId) || '?', from: sources.get(event.requestId) || '',
                     at: event.timestamp, bytes: event.encodedDataLength});
    });
    // The site's service worker, a target of its own which the page's throttling does not reach: held at its
    // start until it has the same network conditions (a link of its own, where a phone's is shared with the
    // page), and its bytes counted apart.
    // NOTE: through the page session's own messages to the worker (the protocol's unflattened sessions), as
    // Playwright's sessions carry no others.
    let nextId = 1, workerSince = -1;
    const toWorker = (sessionId, method, params = {}) => session.send('Target.sendMessageToTarget', {
      sessionId, message: JSON.stringify({id: nextId++, method, params}),
    });
    session.on('Target.attachedToTarget', async (event) => {
      try {
        if (event.targetInfo.type === 'service_worker') {
          await toWorker(event.sessionId, 'Network.enable');
          await toWorker(event.sessionId, 'Network.emulateNetworkConditions', kNetwork);
        }
        await toWorker(event.sessionId, 'Runtime.runIfWaitingForDebugger');
      } catch {
        // the worker ended meanwhile
      }
    });
    session.on('Target.receivedMessageFromTarget', (event) => {
      const message = JSON.parse(event.message);
      if (message.method === 'Network.requestWillBeSent' && workerSince < 0) workerSince = message.params.timestamp;
      if (message.method === 'Network.loadingFinished') {
        workerFinished.push({at: message.params.timestamp, bytes: message.params.encodedDataLength});
      }
    });
    await session.send('Target.setAutoAttach', {autoAttach: true, waitForDebuggerOnStart: true, flatten: false});
    await session.send('Network.enable');
    await session.send('Page.enable');
    await emulatePhone(session);
    await session.send('Page.addScriptToEvaluateOnNewDocument', {source: kWatcher});

    await page.goto(url, {waitUntil: 'commit'});
    const menu = await menuDrawnAfter(page, kMenuTimeout);
    if (menu < 0) throw new Error(`no menu within ${kMenuTimeout} ms; page errors: ${JSON.stringify(errors)}`);
    await page.waitForFunction(() => window.quorlixPhone.sharp >= 0, null, {timeout: kSharpTimeout, polling: 100});
    await page.waitForTimeout(kAfterSharp);
    const watched = await page.evaluate(() => {
      const navigation = performance.getEntriesByType('navigation')[0];
      return {...window.quorlixPhone, documentResponseStart: navigation ? navigation.responseStart : null};
    });

    // The protocol's clock against the page's (milliseconds since the navigation began): both saw the
    // document's response headers arrive.
    // NOTE: without the two, the document's request is taken as the navigation's start (a few ms early).
    let offset;
    if (documentTiming && watched.documentResponseStart !== null) {
      offset = documentTiming.requestTime * 1000 + documentTiming.receiveHeadersEnd - watched.documentResponseStart;
    } else {
      offset = Math.min(...finished.map((entry) => entry.at)) * 1000;
    }
    const byFile = new Map();
    let beforeMenu = 0, total = 0;
    for (const entry of finished) {
      total += entry.bytes;
      const at = entry.at * 1000 - offset;
      if (at > menu) continue;
      beforeMenu += entry.bytes;
      const name = entry.url.startsWith('data:') ? 'data: URL' : new URL(entry.url).pathname.replace(/^\//, '') || '/';
      const file = byFile.get(name) || {bytes: 0, at: 0, from: entry.from};
      byFile.set(name, {bytes: file.bytes + entry.bytes, at: Math.max(file.at, at), from: file.from || entry.from});
    }
    const workerBeforeMenu = workerFinished.filter((entry) => entry.at * 1000 - offset <= menu)
                                           .reduce((sum, entry) => sum + entry.bytes, 0);
    const longTasks = (watched.longTasks || []).sort((a, b) => b.duration - a.duration);
    return {
      menu: Math.round(menu), sharp: Math.round(Math.max(menu, watched.sharp)), firstLevel: watched.firstLevel,
      wantedLevel: watched.wantedLevel, canvas: watched.canvas, longestFrame: Math.round(watched.longestFrame),
      longestFrameAt: Math.round(watched.longestFrameAt), beforeMenu, total, byFile, longTasks,
      longTasksObserved: watched.longTasks !== null, errors, workerBeforeMenu,
      workerSince: workerSince < 0 ? -1 : Math.round(workerSince * 1000 - offset),
    };
  } finally {
    await browser.close();
  }
}

async function runVisits(url, cold) {
  console.log(`== first visits as a phone: ${kPhone.width}x${kPhone.height} at ${kPhone.deviceScaleFactor}, ` +
              `${kNetwork.latency} ms, ${kNetwork.downloadThroughput * 8 / 1e6} Mbps down, ` +
              `${kNetwork.uploadThroughput * 8 / 1e3} kbps up, CPU slowed ${kCpuSlowdown}x` +
              `${cold ? ', graphics cold' : ''} ==`);
  const results = [];
  for (let i = 0; i < visits; ++i) {
    const r = await visit(url, cold);
    results.push(r);
    const longest = r.longTasks[0]?.duration ?? 0;
    console.log(`visit ${i + 1}: menu ${r.menu} ms, ${r.beforeMenu} bytes (${kb(r.beforeMenu)}) before it; ` +
                `first art level ${r.firstLevel}, sharp art (level ${r.wantedLevel}, canvas ${r.canvas}) at ` +
                `${r.sharp} ms; longest frame from the first art to a second after the sharp ${r.longestFrame} ms ` +
                `(ending at ${r.longestFrameAt} ms); longest task ${Math.round(longest)} ms; ${kb(r.total)} in all ` +
                'by the end');
    console.log('  bytes before the menu, by file (bytes, finished at ms):');
    for (const [name, file] of [...r.byFile].sort((a, b) => b[1].bytes - a[1].bytes)) {
      console.log(`    ${String(file.bytes).padStart(9)} ${String(Math.round(file.at)).padStart(7)}  ${name}` +
                  `${file.from ? `  (from the ${file.from})` : ''}`);
    }
    if (r.workerSince >= 0) {
      console.log(`  the service worker began fetching at ${r.workerSince} ms and had ${r.workerBeforeMenu} bytes ` +
                  `(${kb(r.workerBeforeMenu)}) before the menu, on a link of its own (a phone's it would share)`);
    } else {
      console.log('  the service worker fetched nothing before the end');
    }
    if (!r.longTasksObserved) console.log('  (this browser reports no long tasks)');
    console.log('  longest main-thread tasks (start ms, duration ms):');
    for (const task of r.longTasks.slice(0, 5)) {
      console.log(`    at ${String(Math.round(task.start)).padStart(6)}  ${String(Math.round(task.duration)).padStart(5)}` +
                  `${task.by ? `  (${task.by})` : ''}`);
    }
    if (r.errors.length > 0) console.log(`  page errors: ${JSON.stringify(r.errors)}`);
  }
  const row = (what, values, unit) =>
    console.log(`  ${what.padEnd(28)} ${String(median(values)).padStart(9)} ${unit.padEnd(6)} ${spread(values)}`);
  console.log(`medians of ${visits} visit(s) (spread as fastest..slowest):`);
  row('menu after', results.map((r) => r.menu), 'ms');
  row('bytes before the menu', results.map((r) => r.beforeMenu), 'bytes');
  row('sharp art after', results.map((r) => r.sharp), 'ms');
  row('longest frame until then', results.map((r) => r.longestFrame), 'ms');
  row('service worker bytes before', results.map((r) => r.workerBeforeMenu), 'bytes');
  row('longest main-thread task', results.map((r) => Math.round(r.longTasks[0]?.duration ?? 0)), 'ms');
}

// One Lighthouse run of its command line with a preset (mobile is its default); answers its report.
function lighthouse(url, preset) {
  const cli = path.join(here, 'web/node_modules/lighthouse/cli/index.js');
  if (!fs.existsSync(cli)) throw new Error(`no Lighthouse at ${cli} (cd bench/web && npm ci)`);
  const chromeFlags = ['--headless=new', ...kChromiumFlags].join(' ');
  const argv = [cli, url, '--output=json', '--output-path=stdout', '--quiet',
                '--only-categories=performance,accessibility,best-practices', `--chrome-flags=${chromeFlags}`];
  if (preset === 'desktop') argv.push('--preset=desktop');
  return new Promise((resolve, reject) => {
    // NOTE: started apart, not waited for in this process: the site it loads is served from here.
    const child = spawn(process.execPath, argv, {env: {...process.env, CHROME_PATH: '/usr/bin/chromium'}});
    const out = [], err = [];
    child.stdout.on('data', (chunk) => out.push(chunk));
    child.stderr.on('data', (chunk) => err.push(chunk));
    child.on('error', reject);
    child.on('close', (status) => {
      if (status !== 0) {
        reject(new Error(`lighthouse (${preset}) ended with status ${status}: ${Buffer.concat(err).toString().slice(-2000)}`));
        return;
      }
      try {
        resolve(JSON.parse(Buffer.concat(out).toString()));
      } catch (error) {
        reject(new Error(`lighthouse (${preset}) wrote no report: ${error.message}`));
      }
    });
  });
}

async function runLighthouse(url) {
  const version = JSON.parse(fs.readFileSync(path.join(here, 'web/node_modules/lighthouse/package.json'))).version;
  console.log(`== Lighthouse ${version}, ${lighthouseRuns} run(s) a preset ==`);
  const score = (report, id) => Math.round((report.categories[id]?.score ?? NaN) * 100);
  const audit = (report, id) => Math.round(report.audits[id]?.numericValue ?? NaN);
  console.log('  preset   perf  a11y  best  TBT ms   FCP ms   LCP ms  throttling');
  const table = {};
  for (const preset of ['mobile', 'desktop']) {
    for (let run = 0; run < lighthouseRuns; ++run) {
      const report = await lighthouse(url, preset);
      const row = {
        perf: score(report, 'performance'), a11y: score(report, 'accessibility'), best: score(report, 'best-practices'),
        tbt: audit(report, 'total-blocking-time'), fcp: audit(report, 'first-contentful-paint'),
        lcp: audit(report, 'largest-contentful-paint'),
      };
      (table[preset] ||= []).push(row);
      console.log(`  ${preset.padEnd(7)} ${String(row.perf).padStart(5)} ${String(row.a11y).padStart(5)} ` +
                  `${String(row.best).padStart(5)} ${String(row.tbt).padStart(7)} ${String(row.fcp).padStart(8)} ` +
                  `${String(row.lcp).padStart(8)}  ${report.configSettings.throttlingMethod}`);
      if (report.runtimeError) console.log(`    runtime error: ${report.runtimeError.code} ${report.runtimeError.message}`);
      for (const warning of report.runWarnings || []) console.log(`    warning: ${warning}`);
    }
  }
  if (lighthouseRuns > 1) {
    console.log(`medians of ${lighthouseRuns} runs (spread as lowest..highest):`);
    for (const [preset, rows] of Object.entries(table)) {
      const cell = (key) => `${median(rows.map((r) => r[key]))} (${spread(rows.map((r) => r[key]))})`;
      console.log(`  ${preset.padEnd(7)} perf ${cell('perf')}, a11y ${cell('a11y')}, best ${cell('best')}, ` +
                  `TBT ${cell('tbt')} ms`);
    }
  }
}

const {server, url} = await serveSite({program: 'site'});
let failed = false;
try {
  if (!flag('--no-visits')) await runVisits(url, flag('--cold'));
  if (!flag('--no-lighthouse')) await runLighthouse(url);
} catch (error) {
  console.error(error);
  failed = true;
} finally {
  server.close();
}
process.exit(failed ? 1 : 0);
