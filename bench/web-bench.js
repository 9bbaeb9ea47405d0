// SPDX-License-Identifier: MIT
// The browser game's figures in headless Chromium (WebGL on SwiftShader):
// - the frame benchmark (bench/web_frame_bench.cpp);
// - the real game at the start scene for ZARVEL_IDLE_SECONDS (default 10),
//   its steps per second read second by second from the game's own rate
//   readout (F), on the desktop page (600 x 600) and in a phone's emulation
//   (390 x 844, touch) at 1 and 3 device pixels a pixel, with the CPU as is
//   and slowed down 4 times (Chromium's throttling, a stand-in for a
//   mid-range phone), with the page's main thread's busy share (its tasks'
//   time over the time passed) and its busy time per frame drawn;
// - from a touch on "Turn left" and from the left arrow key to the first
//   frame drawn with another heading, in the phone's emulation: ms from the
//   input event's time stamp, and from the page's first handler of it, to
//   the end of the display callback that drew it (ZARVEL_LATENCY_TRIALS of
//   each, default 20). The two differ by the browser's delivery of the
//   event to the page.
// Prints figures, asserts nothing. ZARVEL_NO_FRAMES=1 leaves the frame
// benchmark out.
//   bench/run-web-benchmarks    (builds, then runs this with puppeteer-core)
'use strict';
const path = require('path');
const puppeteer = require('puppeteer-core');
const { serve } = require('../web/serve.js');

const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const PHONE = { width: 390, height: 844, isMobile: true, hasTouch: true };
const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Runs the frame benchmark's program and prints its lines.
async function frames(browser, base) {
  const page = await browser.newPage();
  let done = null;
  const finished = new Promise((resolve) => { done = resolve; });
  page.on('console', (m) => {
    if (/ms a frame/.test(m.text())) console.log(m.text());
    if (m.text() === 'frame bench done') done();
  });
  await page.goto(base + 'program.html?zarvel_web_frame_bench');
  await finished;
  await page.close();
}

// Opens the game in `viewport` (none: the desktop page) with the CPU slowed
// down `rate` times; the page and its DevTools session.
async function openGame(browser, base, viewport, rate) {
  const page = await browser.newPage();
  if (viewport) await page.setViewport(viewport);
  const session = await page.target().createCDPSession();
  await session.send('Performance.enable');
  await session.send('Emulation.setCPUThrottlingRate', { rate });
  await page.goto(base);
  await page.focus('#canvas');
  await page.waitForFunction(() => typeof ZGLUT !== 'undefined' && ZGLUT.frames > 10, { timeout: 120000 });
  return { page, session };
}

// Plays the start scene with the rate readout on; prints the rate each
// second and the main thread's busy share over the same seconds.
async function startScene(browser, base, what, viewport, rate, seconds) {
  const { page, session } = await openGame(browser, base, viewport, rate);
  await pause(2000);
  await page.keyboard.press('f');
  await pause(1500);
  const taskTime = async () => (await session.send('Performance.getMetrics')).metrics
    .find((m) => m.name === 'TaskDuration').value;
  const busyBefore = await taskTime(), framesBefore = await page.evaluate(() => ZGLUT.frames);
  const started = Date.now();
  const rates = [];
  for (let i = 0; i < seconds; i++) {
    await pause(1000);
    const line = await page.$eval('#overlay', (e) => e.textContent);
    rates.push(Number(line.split('FPS:')[1]));
  }
  const busy = await taskTime() - busyBefore, drawn = await page.evaluate(() => ZGLUT.frames) - framesBefore;
  const wall = (Date.now() - started) / 1000;
  const mean = rates.reduce((a, b) => a + b, 0) / rates.length;
  console.log(`${what}: steps per second by the game's readout, second by second: ${rates.join(' ')}`);
  console.log(`${what}: mean ${mean.toFixed(1)}, lowest ${Math.min(...rates)}; main thread busy ` +
              `${(100 * busy / wall).toFixed(1)} %, ${(1000 * busy / drawn).toFixed(2)} ms a frame ` +
              `(${(drawn / wall).toFixed(1)} frames a second)`);
  await page.close();
}

// Records in the page when each input event came (its time stamp, and the
// time the page's first handler saw it) and when
// the display callback first drew a heading other than the one before it:
// the camera's sine and cosine are in the first draw's model-view matrix.
function watchResponses() {
  window.benchInputs = [];
  window.benchResponses = [];
  const record = (event) => { window.benchInputs.push([event.timeStamp, performance.now()]); };
  document.addEventListener('pointerdown', record, true);
  document.addEventListener('keydown', record, true);
  const prepare = ZGL.prepare, call = ZGLUT.call;
  let heading = null, drawn = null;
  ZGL.prepare = function(projection) {
    if (drawn === null && !projection) drawn = ZGL.matrices[0][0] + ',' + ZGL.matrices[0][8];
    prepare(projection);
  };
  ZGLUT.call = function(name, args) {
    if (name !== 'display') return call(name, args);
    drawn = null;
    call(name, args);
    if (heading !== null && drawn !== heading) window.benchResponses.push(performance.now());
    heading = drawn;
  };
}

// Milliseconds from the input of each of `trials` presses (a touch on Turn
// left when `touch`, else the left arrow) to the first frame with a new
// heading, from the event's time stamp and from the page's handler, as
// two lists; each press is held until the heading changed.
async function latencies(page, session, touch, trials) {
  const box = await page.$eval('button[aria-label="Turn left"]',
    (b) => { const r = b.getBoundingClientRect(); return { x: r.x + r.width / 2, y: r.y + r.height / 2, id: 1 }; });
  const found = [[], []];
  for (let i = 0; i < trials; i++) {
    await page.evaluate(() => { window.benchInputs = []; window.benchResponses = []; });
    if (touch) await session.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [box] });
    else await page.keyboard.down('ArrowLeft');
    await page.waitForFunction(() => window.benchResponses.length > 0, { timeout: 10000 });
    if (touch) await session.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [box] });
    else await page.keyboard.up('ArrowLeft');
    const [stamped, handled] = await page.evaluate(() => window.benchInputs[0].map((t) => window.benchResponses[0] - t));
    found[0].push(stamped);
    found[1].push(handled);
    await pause(200 + 37 * (i % 7)); // the next press lands elsewhere in the step and the frame
  }
  return found;
}

// Touch against key, in turns, in the phone's emulation at 3 device pixels.
async function touchAgainstKey(browser, base, trials) {
  const { page, session } = await openGame(browser, base, { ...PHONE, deviceScaleFactor: 3 }, 1);
  await pause(1000);
  await page.evaluate(watchResponses);
  const touch = [[], []], key = [[], []];
  for (let round = 0; round < trials / 5; round++) {
    for (const [into, isTouch] of [[touch, true], [key, false]]) {
      const found = await latencies(page, session, isTouch, 5);
      into[0].push(...found[0]);
      into[1].push(...found[1]);
    }
  }
  const show = (values) => `median ${median(values).toFixed(1)} ms, ${Math.min(...values).toFixed(1)} to ` +
    `${Math.max(...values).toFixed(1)} (${values.length} presses)`;
  console.log(`from input to the first frame turned, phone at 3x: touch ${show(touch[0])}; key ${show(key[0])}`);
  console.log(`from the page's handler to the first frame turned: touch ${show(touch[1])}; key ${show(key[1])}`);
  await page.close();
}

async function main() {
  const build = path.resolve(process.argv[2] || 'build/web');
  const server = await new Promise((ready) => serve(0, [build, path.join(__dirname, '../tests/web')], ready));
  const base = `http://127.0.0.1:${server.address().port}/`;
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-dev-shm-usage', '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
  });
  const seconds = Number(process.env.ZARVEL_IDLE_SECONDS || 10);
  try {
    console.log('browser: ' + await browser.version());
    if (!process.env.ZARVEL_NO_FRAMES) await frames(browser, base);
    await startScene(browser, base, 'desktop 600 x 600', null, 1, seconds);
    for (const ratio of [1, 3]) {
      for (const rate of [1, 4]) {
        await startScene(browser, base, `phone at ${ratio}x, CPU ${rate === 1 ? 'as is' : 'slowed 4x'}`,
          { ...PHONE, deviceScaleFactor: ratio }, rate, seconds);
      }
    }
    await touchAgainstKey(browser, base, Number(process.env.ZARVEL_LATENCY_TRIALS || 20));
  } finally {
    await browser.close();
    server.close();
  }
}

main().catch((error) => { console.error(error); process.exit(1); });
