// SPDX-License-Identifier: MIT
// The browser game in headless Chromium (WebGL on SwiftShader), from a local
// static server. Fails on any console error or uncaught exception, and:
// - picture: the native picture tests (tests/picture), scenes and probes
//   with their own per-channel tolerances (3 on flat surfaces, 4 to 8 on the
//   barrel and shots, 16 on the balls), drawn by the layer (program.html),
//   and its fixed scene's whole frame against the Linux x86-64 one;
// - keys: the arrow keys turn the view (the first ball moves across the
//   picture by the heading change) and space fires (shots left, read from
//   the overlay line the game wrote), through real key events; a key let go
//   while Ctrl is down, or held when the canvas or the window loses the
//   keyboard, lets its control go;
// - gamepad: a stand-in for navigator.getGamepads: a held axis turns,
//   button 0 fires, and once it is disconnected both stop;
// - a hidden page takes no step, its clock stands and its keys are let go,
//   a resized canvas is reshaped, and a browser without WebGL gets a
//   sentence.
// Every check waits for what the game shows (a count of frames drawn, the
// overlay's line, the picture), never for a set time, so that it holds on a
// loaded machine. touch-test.js shares the helpers exported here.
//   tests/web/run.sh BUILD_DIR    (installs puppeteer-core, then runs this)
'use strict';
const path = require('path');
const puppeteer = require('puppeteer-core');
const { serve } = require('../../web/serve.js');

const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
const FOCAL = 300 / Math.tan(32 / 180 * Math.PI); // pixels, the unzoomed view
let failures = 0;

// Records one check; a failed one fails the test at the end.
function check(ok, what) {
  console.log((ok ? 'ok      ' : 'FAILED  ') + what);
  if (!ok) failures++;
}

const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Polls `condition` (async) every 50 ms until it gives a truthy value,
// which it returns; after `seconds` a failed check names `what`.
async function until(what, condition, seconds = 60) {
  const deadline = Date.now() + seconds * 1000;
  for (;;) {
    const value = await condition();
    if (value) return value;
    if (Date.now() > deadline) {
      check(false, 'timed out waiting for ' + what);
      return value;
    }
    await pause(50);
  }
}

// Waits until the game has drawn `count` more frames. Each frame follows at
// least one step, so it has also taken at least `count` steps.
async function waitFrames(page, count) {
  const start = await page.evaluate(() => ZGLUT.frames);
  await until(`${count} frames`, () => page.evaluate((end) => ZGLUT.frames >= end, start + count));
}

// Waits until the frame of the last step is drawn (the page paused).
const settled = (page) => until('the last frame', () => page.evaluate(() => !ZGLUT.redisplayPending));

// The game's clock, ms.
const gameClock = (page) => page.evaluate(() => ZGLUT.now());

// Opens `page` of the server, failing on console errors and exceptions;
// with a gamepad stand-in in place of navigator.getGamepads when asked, and
// in the device emulation `viewport` (puppeteer's) when given.
async function open(browser, url, gamepad, viewport) {
  const page = await browser.newPage();
  if (viewport) await page.setViewport(viewport);
  page.on('console', (m) => { if (m.type() === 'error') check(false, 'console error: ' + m.text()); });
  page.on('pageerror', (e) => check(false, 'uncaught exception: ' + e.message));
  if (gamepad) {
    await page.evaluateOnNewDocument(() => {
      window.testPad = null;
      navigator.getGamepads = () => [window.testPad];
    });
  }
  await page.goto(url);
  return page;
}

// What `analyse` finds in the canvas as the page shows it, by a screenshot:
// it runs in the page (so it sees only its own arguments and the page) on
// the width, height and RGBA bytes, in device pixels.
async function canvasPixels(page, analyse) {
  const png = await (await page.$('#canvas')).screenshot({ encoding: 'base64' });
  return page.evaluate(async (png, analyse) => {
    const image = new Image();
    image.src = 'data:image/png;base64,' + png;
    await image.decode();
    const copy = document.createElement('canvas');
    copy.width = image.width;
    copy.height = image.height;
    const context = copy.getContext('2d');
    context.drawImage(image, 0, 0);
    const data = context.getImageData(0, 0, copy.width, copy.height).data;
    return new Function('return ' + analyse)()(copy.width, copy.height, data);
  }, png, analyse.toString());
}

// The balls in the picture, left to right: the runs of columns with pixels
// between the text and the horizon that are neither sky nor sand, each its
// heading in degrees (0 at the centre) and its size in pixels. A ball's top
// stands above the eye; the barrel, the shots and their marks stay below.
async function balls(page) {
  const runs = await canvasPixels(page, (width, height, data) => {
    const near = (i, c) => Math.abs(data[i] - c[0]) + Math.abs(data[i + 1] - c[1]) + Math.abs(data[i + 2] - c[2]) < 24;
    const found = [];
    let run = null;
    for (let x = 0; x <= width; x++) {
      let count = 0;
      for (let y = Math.round(height * 0.075); x < width && y < height * 0.49; y++) {
        const i = 4 * (y * width + x);
        if (!near(i, [0, 0, 255]) && !near(i, [213, 173, 102])) count++;
      }
      if (count > 0) {
        if (!run) run = { sum: 0, size: 0 };
        run.sum += x * count;
        run.size += count;
      } else if (run) {
        found.push({ column: (run.sum / run.size + 0.5) * 600 / width - 0.5, size: run.size });
        run = null;
      }
    }
    return found;
  });
  return runs.map((run) => ({ heading: headingOf(run.column), size: run.size }));
}

// The heading of a column of a 600-pixel view, in degrees (0 at the centre).
const headingOf = (column) => Math.atan((column + 0.5 - 300) / FOCAL) * 180 / Math.PI;

// How far the view turned left between the balls `a` and `b` saw, in
// degrees: the shift that best puts a's balls on b's balls of their size
// (each pair within 1.5 degrees counts the smaller of the two sizes), so
// that a ball that came or went meanwhile is outvoted.
function turnOf(a, b) {
  let best = NaN, bestScore = 0;
  for (const from of a) {
    for (const to of b) {
      const shift = to.heading - from.heading;
      let score = 0;
      for (const x of a) {
        const sizes = b.filter((y) => Math.abs(y.heading - x.heading - shift) < 1.5).map((y) => Math.min(x.size, y.size));
        score += Math.max(0, ...sizes);
      }
      if (score > bestScore) { best = shift; bestScore = score; }
    }
  }
  return best;
}

// The shots left that the overlay line shows.
async function shotsLeft(page) {
  const line = await page.$eval('#overlay', (e) => e.textContent);
  return Number(line.split('/')[1].slice(0, 5));
}

// Waits until a ball is in the picture; the balls.
const firstBall = (page) => until('the first ball', async () => { const b = await balls(page); return b.length > 0 && b; });

// Waits until the overlay shows `count` shots fewer than `before`.
const fired = (page, before, count) =>
  until(`${count} shots`, async () => await shotsLeft(page) <= before - count);

// Checks that nothing fires and the view does not turn for 20 frames (so
// 20 steps), once the shots fired before have landed (0.5 s of the game's
// clock): still turning, the view would go on by a degree a step; the
// ball's own drift is a few degrees a second at most.
async function standsStill(page, what) {
  const start = await gameClock(page);
  await until('the shots to land', async () => await gameClock(page) > start + 700);
  await waitFrames(page, 3);
  const shots = await shotsLeft(page), seen = await balls(page);
  await waitFrames(page, 20);
  const drift = Math.abs(turnOf(seen, await balls(page)));
  check(await shotsLeft(page) === shots, what + ': no shot is fired');
  check(drift < 10, `${what}: the view stays (${drift.toFixed(2)} degrees)`);
}

// Checks that the firing has stopped: the shots left stand for 30 frames.
async function stopped(page, what) {
  await waitFrames(page, 3);
  const shots = await shotsLeft(page);
  await waitFrames(page, 30);
  check(await shotsLeft(page) === shots, what);
}

// Stands in for the page hidden (true) or shown (false).
const setHidden = (page, value) => page.evaluate((value) => {
  Object.defineProperty(document, 'hidden', { value, configurable: true });
  document.dispatchEvent(new Event('visibilitychange'));
}, value);

// Holds `key` through the page's keyboard for `count` frames (so at least
// as many steps), then lets it go and waits for the frames of its release.
async function hold(page, key, count) {
  await page.keyboard.down(key);
  await waitFrames(page, count);
  await page.keyboard.up(key);
  await waitFrames(page, 3);
}

// The native picture tests, run by the layer: every one must pass but the
// fixed scene's, whose frame is compared here with a stated exception.
async function pictureTests(browser, base) {
  const page = await open(browser, base + 'program.html?zarvel_web_picture_tests', false);
  let report = '';
  page.on('console', (m) => { report += m.text() + '\n'; });
  await until('the picture tests', () => /\[ {2}PASSED {2}\] \d+ tests?\./.test(report) &&
    (!/listed below/.test(report) || /\d+ FAILED TESTS?/.test(report)), 180);
  const passed = /\[ {2}PASSED {2}\] (\d+) tests?\./.exec(report);
  const failed = [...report.matchAll(/\[ {2}FAILED {2}\] (\w+\.\w+)/g)].map((m) => m[1]);
  const others = failed.filter((name) => name !== 'Picture.FixedSceneAsTheLinuxX86_64BuildDrawsIt');
  check(passed && Number(passed[1]) >= 10 && others.length === 0,
        'picture tests: ' + (passed ? passed[0] : 'no report') + (others.length ? '\n' + report : ''));
  await fixedScene(page);
  await page.close();
}

// The fixed scene's frame against the one the Linux x86-64 build drew, both
// in the picture program's files: every channel of every pixel within 16,
// as natively, but for the horizon's row 300, where the far plane's edge
// passes 0.02 pixels from the pixel centres and SwiftShader's rasteriser
// puts it on the other side, and at most 8 pixels on the edges of the ball
// and the barrel, whose coverage the two rasterisers decide otherwise.
async function fixedScene(page) {
  const seen = await page.evaluate(() => {
    const pixels = (name) => {
      const file = FS.readFile(name);
      let at = 0;
      for (let fields = 0; fields < 4; at++) if (file[at] === 10 || file[at] === 32) fields++;
      return file.subarray(at);
    };
    const a = pixels('/fixed-scene-observed.ppm'), b = pixels('/fixed-scene.ppm');
    let horizon = 0, elsewhere = 0, within = 0;
    for (let i = 0; i < 600 * 600; i++) {
      const most = Math.max(...[0, 1, 2].map((c) => Math.abs(a[3 * i + c] - b[3 * i + c])));
      if (most <= 16) within++;
      else if (Math.floor(i / 600) === 300) horizon++;
      else elsewhere++;
    }
    return { horizon, elsewhere, within };
  });
  check(seen.elsewhere <= 8, `fixed scene as drawn natively: ${seen.within} pixels within 16, ` +
        `${seen.horizon} of row 300 and ${seen.elsewhere} elsewhere beyond`);
}

// The keyboard: turning right moves the ball left, left moves it back,
// space fires on every second step and stops when let go.
async function keys(page) {
  await page.click('#canvas');
  const start = await firstBall(page);
  check(start !== null, 'the first ball appears');
  if (start === null) return;
  check(await shotsLeft(page) === 10000, 'the overlay starts at 10000 shots');
  await hold(page, 'ArrowRight', 8);
  const right = await balls(page);
  const turned = -turnOf(start, right);
  check(turned > 3 && turned < 30, `right arrow turns right: ${turned.toFixed(1)} degrees`);
  await hold(page, 'ArrowLeft', 8);
  const back = turnOf(right, await balls(page));
  check(back > 3 && back < 30, `left arrow turns left: ${back.toFixed(1)} degrees`);
  const before = await shotsLeft(page), started = await gameClock(page);
  await page.keyboard.down(' ');
  await fired(page, before, 10);
  await page.keyboard.up(' ');
  await waitFrames(page, 3);
  const shots = before - await shotsLeft(page), elapsed = await gameClock(page) - started;
  const most = Math.ceil(elapsed / 20) + 1; // every second step at most
  check(shots >= 10 && shots <= most, `space fires: ${shots} shots in ${elapsed.toFixed(0)} ms`);
  await stopped(page, 'no shot after space is let go');
  await hidden(page);
}

// A hidden page (document.hidden stood in for) takes no step and its clock
// stands until it is shown; the keys held when it was hidden count as let go.
async function hidden(page) {
  await page.keyboard.down(' ');
  await fired(page, await shotsLeft(page), 2);
  await setHidden(page, true);
  await settled(page);
  const shots = await shotsLeft(page), clock = await gameClock(page);
  await pause(400);
  check(await shotsLeft(page) === shots, 'no step while the page is hidden');
  check(await gameClock(page) === clock, 'the game clock stands still while hidden');
  await setHidden(page, false);
  await waitFrames(page, 30);
  check(await gameClock(page) > clock && await shotsLeft(page) === shots,
        'shown again, the game goes on with space let go');
  await page.keyboard.up(' ');
  await page.keyboard.down(' ');
  await fired(page, shots, 2);
  await page.keyboard.up(' ');
}

// A key let go while Ctrl is down lets its control go, though the key
// down with Ctrl is the browser's.
async function modifiers(page) {
  await page.keyboard.down(' ');
  await fired(page, await shotsLeft(page), 2);
  await page.keyboard.down('Control');
  await page.keyboard.up(' ');
  await page.keyboard.up('Control');
  await stopped(page, 'space let go with Ctrl down: the firing stops');
}

// Space and the left arrow held when the canvas loses the keyboard, and
// space when the window does, count as let go; the keys work again once
// the canvas has the keyboard back.
async function blur(page) {
  await page.click('#canvas');
  await page.keyboard.down(' ');
  await page.keyboard.down('ArrowLeft');
  await fired(page, await shotsLeft(page), 2);
  await page.$eval('#canvas', (canvas) => canvas.blur());
  await standsStill(page, 'the canvas blurred with space and the left arrow held');
  await page.click('#canvas');
  await page.keyboard.up('ArrowLeft');
  await page.keyboard.up(' ');
  await page.keyboard.down(' ');
  check(await fired(page, await shotsLeft(page), 2), 'focused again, space fires again');
  await page.evaluate(() => window.dispatchEvent(new Event('blur')));
  await stopped(page, 'the window blurred: the firing stops');
  await page.keyboard.up(' ');
}

// A canvas made 800 x 400 on the page is reshaped: the drawing area follows
// it and the view widens instead of stretching (the horizon stays mid-height).
async function reshape(page) {
  await page.$eval('#canvas', (c) => { c.style.width = '800px'; c.style.height = '400px'; });
  const size = await until('the reshape', () => page.$eval('#canvas', (c) => c.width === 800 && [c.width, c.height]));
  await waitFrames(page, 3);
  check(size && size[1] === 400, `reshaped to ${size && size.join(' x ')}`);
  const rows = await canvasPixels(page, (width, height, data) => {
    const blue = (y) => data[4 * (y * width + 700) + 2] > 200;
    return [blue(190), blue(210)];
  });
  check(rows[0] && !rows[1], 'the horizon stays at mid-height');
}

// A browser without WebGL gets a sentence saying so, not a blank page.
async function noWebGL(base) {
  const browser = await puppeteer.launch({ executablePath: CHROMIUM, headless: true,
    args: ['--no-sandbox', '--disable-3d-apis'] });
  const page = await open(browser, base, false);
  const text = await page.$eval('#keys', (e) => e.textContent);
  check(/needs WebGL/.test(text) && await page.$('#canvas') === null, 'without WebGL: ' + text);
  await browser.close();
}

// The gamepad stand-in: axis 0 held left turns left, button 0 fires, and a
// disconnect lets both go.
async function gamepad(page) {
  await page.click('#canvas');
  const start = await firstBall(page);
  if (start === null) return check(false, 'the first ball appears');
  const before = await shotsLeft(page);
  // Held for 8 frames, so at least 8 steps.
  await page.evaluate(async () => {
    const button = (pressed) => ({ pressed, value: pressed ? 1 : 0 });
    window.testPad = { id: 'test pad', connected: true, axes: [-1, 0, 0, 0],
      buttons: [button(true), button(false), button(false), button(false)] };
    const end = ZGLUT.frames + 8;
    while (ZGLUT.frames < end) await new Promise(requestAnimationFrame);
    window.testPad = null;
  });
  // The shots land and their marks go before the ball is looked for.
  const landed = await gameClock(page) + 700;
  await until('the shots to land', async () => await gameClock(page) > landed);
  await waitFrames(page, 3);
  const turned = turnOf(start, await balls(page));
  check(turned > 3 && turned < 30, `held axis turns left: ${turned.toFixed(1)} degrees`);
  check(before - await shotsLeft(page) >= 3, `button 0 fires: ${before - await shotsLeft(page)} shots`);
  await standsStill(page, 'after the disconnect');
}

// Serves the build folder named on the command line and this folder; the
// server and its address.
async function serveBuild() {
  const build = path.resolve(process.argv[2] || 'build/web');
  const server = await new Promise((ready) => serve(0, [build, __dirname], ready));
  return { server, base: `http://127.0.0.1:${server.address().port}/` };
}

// Starts headless Chromium with WebGL on SwiftShader.
const launch = () => puppeteer.launch({
  executablePath: CHROMIUM,
  headless: true,
  args: ['--no-sandbox', '--disable-dev-shm-usage', '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
});

// Ends the run with its verdict.
function finish() {
  console.log(failures === 0 ? 'browser test passed' : `browser test: ${failures} failed`);
  process.exit(failures === 0 ? 0 : 1);
}

async function main() {
  const { server, base } = await serveBuild();
  const browser = await launch();
  try {
    await pictureTests(browser, base);
    const page = await open(browser, base, false);
    check(await page.title() === 'Zarvel', 'the page is titled Zarvel');
    const layout = await page.evaluate(() => {
      const r = Module.canvas.getBoundingClientRect();
      return [r.x + scrollX, r.y + scrollY, r.width, r.height, Module.canvas.width, Module.canvas.height,
        getComputedStyle(document.getElementById('controls')).display].join();
    });
    check(layout === '16,16,600,600,600,600,none', 'with a mouse the page is as before, no buttons: ' + layout);
    await keys(page);
    await modifiers(page);
    await blur(page);
    await reshape(page);
    await page.close();
    await gamepad(await open(browser, base, true));
    await noWebGL(base);
  } finally {
    await browser.close();
    server.close();
  }
  finish();
}

module.exports = { check, pause, until, waitFrames, settled, gameClock, open, canvasPixels, balls,
  turnOf, shotsLeft, firstBall, fired, standsStill, stopped, setHidden, serveBuild, launch, finish };
if (require.main === module) main().catch((error) => { console.error(error); process.exit(1); });
