// SPDX-License-Identifier: MIT
// The browser game by touch, in headless Chromium's emulation of a phone
// (390 x 844 at 3 device pixels a pixel) and a tablet (820 x 1180 at 2),
// upright and sideways, with the helpers of browser-test.js and, like it,
// waiting for what the game shows: the view fits beside the buttons, also
// after a turn of the device while firing; fingers hold controls, one or
// several, and let go when lifted, slid off or cancelled; a finger and a key
// hold one control together; a zoom and the readout; a pinch and a drag
// move nothing; a lost context; installable and playable offline.
//   tests/web/run.sh BUILD_DIR tests/web/touch-test.js
'use strict';
const t = require('./browser-test.js');

const { check, until, waitFrames, shotsLeft, fired, stopped } = t;
const PHONE = { width: 390, height: 844, deviceScaleFactor: 3 };
const TABLET = { width: 820, height: 1180, deviceScaleFactor: 2 };
const NAMES = 'Raise the barrel,Turn left,Turn right,Lower the barrel,Zoom 32 degrees,Zoom 16 degrees,' +
  'Zoom 8 degrees,Fire,Show steps per second';

// Puppeteer's viewport of `device` with its touch screen, upright or sideways.
const emulation = (device, sideways) => ({ width: sideways ? device.height : device.width,
  height: sideways ? device.width : device.height, deviceScaleFactor: device.deviceScaleFactor,
  isMobile: true, hasTouch: true, isLandscape: sideways });

// The centre of the element `selector`, in CSS pixels.
const centre = (page, selector) => page.$eval(selector,
  (e) => { const r = e.getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; });
const button = (page, name) => centre(page, `button[aria-label="${name}"]`);

// The fingers on the page's touch screen, each known by a number: down,
// move and up, or all cancelled; the others stay down.
function fingers(page) {
  const points = new Map(), session = page.target().createCDPSession();
  const send = async (type, list) => (await session).send('Input.dispatchTouchEvent', { type, touchPoints: list });
  return {
    down: (id, [x, y]) => { points.set(id, { x, y, id }); return send('touchStart', [...points.values()]); },
    move: (id, [x, y]) => { points.set(id, { x, y, id }); return send('touchMove', [...points.values()]); },
    up: (id) => { const point = points.get(id); points.delete(id); return send('touchEnd', [point]); },
    cancel: () => { points.clear(); return send('touchCancel', []); },
  };
}

// The pixels of the canvas's screenshot for which `test(r, g, b)` holds, in
// the rows from `top` to `bottom` (shares of the height) of its left
// `width` share; with `rows`, the number of rows with one.
const count = (page, top, bottom, width, test, rows) => t.canvasPixels(page, new Function('w', 'h', 'data',
  `const test = ${test}; let n = 0;
   for (let y = Math.round(h * ${top}); y < h * ${bottom}; y++) {
     let m = 0;
     for (let x = 0; x < w * ${width}; x++) if (test(data[4 * (y * w + x)], data[4 * (y * w + x) + 1], data[4 * (y * w + x) + 2])) m++;
     n += ${rows} ? Math.min(m, 1) : m;
   }
   return n;`));
const textShare = async (page, height) =>
  await count(page, 0, 0.1, 0.5, '(r, g, b) => r > 200 && g > 200 && b < 80', true) / height;
const barrel = (page) => count(page, 2 / 3, 1, 1, '(r, g, b) => r + g + b < 40', false);

// The view on the screen `what` names: a square of whole device pixels as
// large as its room beside the buttons, within the screen, nothing to
// scroll, the text its native share of the view; the buttons named in
// words, at least 48 px, beside the view sideways and under it upright.
async function fits(page, what, sideways) {
  const layout = () => page.evaluate(() => {
    const box = (e) => { const r = e.getBoundingClientRect(); return { x: r.x, y: r.y, w: r.width, h: r.height }; };
    const canvas = document.getElementById('canvas'), root = document.scrollingElement;
    return { c: box(canvas), buffer: [canvas.width, canvas.height], view: box(document.getElementById('view')),
      inner: [innerWidth, innerHeight], ratio: devicePixelRatio, scroll: [root.scrollWidth, root.scrollHeight],
      buttons: [...document.querySelectorAll('#controls button')].map((b) => ({ name: b.getAttribute('aria-label'), ...box(b) })) };
  });
  const l = await until('the fitted view', async () => {
    const l = await layout();
    const side = Math.floor(Math.min(l.view.w, l.view.h) * l.ratio);
    return l.c.w === l.c.h && l.buffer[0] === side && l.buffer[1] === side && Math.round(l.c.w * l.ratio) === side && l;
  });
  if (!l) return;
  await waitFrames(page, 3);
  const c = l.c, inside = (b) => b.x >= 0 && b.y >= 0 && b.x + b.w <= l.inner[0] && b.y + b.h <= l.inner[1];
  check(inside(c) && l.scroll[0] <= l.inner[0] && l.scroll[1] <= l.inner[1],
        `${what}: the view the largest square, ${c.w.toFixed(1)} px drawn at ${l.buffer.join(' x ')}, on screen, nothing to scroll`);
  const share = await textShare(page, l.buffer[1]);
  check(share > 0.018 && share < 0.03, `${what}: the text is ${(share * 100).toFixed(1)} % of the view's height`);
  const beside = (b) => (sideways ? b.x + b.w <= c.x || b.x >= c.x + c.w : b.y >= c.y + c.h);
  const bad = l.buttons.filter((b) => b.w < 48 || b.h < 48 || !beside(b) || !inside(b)).map((b) => b.name);
  check(l.buttons.map((b) => b.name).join() === NAMES && bad.length === 0,
        `${what}: ${l.buttons.length} buttons ${sideways ? 'beside' : 'under'} the view${bad.length ? ', not: ' + bad.join(', ') : ''}`);
}

// Fits upright, then sideways after a turn while a finger fires, and plays on.
async function turns(page, device, name) {
  const hand = fingers(page);
  await fits(page, name + ' upright', false);
  await hand.down(1, await button(page, 'Fire'));
  await fired(page, await shotsLeft(page), 2);
  await page.setViewport(emulation(device, true));
  await fits(page, name + ' turned sideways while firing', true);
  await hand.up(1);
  await hand.down(1, await button(page, 'Fire'));
  check(await fired(page, await shotsLeft(page), 2), name + ' sideways: a finger fires');
  await hand.up(1);
}

// Fire held by a finger for 1 s of the game's clock spends about 50 shots:
// one every second step, so at least half the frames drawn meanwhile, and
// at most one every 20 ms.
async function fireForASecond(page) {
  const hand = fingers(page), before = await shotsLeft(page);
  const frames = await page.evaluate(() => ZGLUT.frames), start = await t.gameClock(page);
  await hand.down(1, await button(page, 'Fire'));
  await until('1 s of play', async () => await t.gameClock(page) > start + 1000);
  await hand.up(1);
  const elapsed = await t.gameClock(page) - start, drawn = await page.evaluate(() => ZGLUT.frames) - frames;
  await waitFrames(page, 3);
  const shots = before - await shotsLeft(page);
  check(shots >= drawn / 2 - 2 && shots <= elapsed / 20 + 2,
        `fire held for ${elapsed.toFixed(0)} ms: ${shots} shots (${drawn} frames drawn)`);
}

// Fire and turn right held by two fingers: the turning one lifted, the view
// stays and the gun fires on; both lifted, all stands. A finger sliding off
// Fire, or a cancelled touch, stops the firing.
async function twoFingers(page, name) {
  const hand = fingers(page);
  await hand.down(1, await button(page, 'Fire'));
  await hand.down(2, await button(page, 'Turn right'));
  await fired(page, await shotsLeft(page), 4);
  await hand.up(2);
  await waitFrames(page, 3);
  const seen = await t.balls(page), shots = await shotsLeft(page);
  await waitFrames(page, 20);
  const drift = Math.abs(t.turnOf(seen, await t.balls(page)));
  check(drift < 10 && await shotsLeft(page) < shots,
        `${name}: the turning finger lifted, the view stays (${drift.toFixed(2)} degrees) and the gun fires on`);
  await hand.up(1);
  await t.standsStill(page, name + ': both fingers lifted');
  const [x, y] = await button(page, 'Fire');
  await hand.down(1, [x, y]);
  await fired(page, await shotsLeft(page), 2);
  await hand.move(1, [x, y - 200]);
  await stopped(page, name + ': a finger sliding off Fire stops the firing');
  await hand.up(1);
  await hand.down(1, [x, y]);
  await fired(page, await shotsLeft(page), 2);
  await hand.cancel();
  await stopped(page, name + ': a cancelled touch stops the firing');
}

// Fire held by a finger and by space stays held until both let go; Zoom 8
// degrees held narrows the view until the barrel, 17 degrees below the line
// of sight, leaves it; a tap on the readout's button shows the steps per
// second, and a press with no pointer (a screen reader's) hides them.
async function fingerKeyZoomReadout(page) {
  const hand = fingers(page);
  await page.focus('#canvas');
  await hand.down(1, await button(page, 'Fire'));
  await page.keyboard.down(' ');
  await fired(page, await shotsLeft(page), 2);
  await hand.up(1);
  check(await fired(page, await shotsLeft(page), 4), 'the finger lifted, space still held: the gun fires on');
  await page.keyboard.up(' ');
  await stopped(page, 'space let go too: the firing stops');
  check(await barrel(page) > 1000, 'the barrel is in view');
  await hand.down(1, await button(page, 'Zoom 8 degrees'));
  check(await until('the zoomed view', async () => await barrel(page) === 0), 'Zoom 8 degrees held: the barrel leaves the view');
  await hand.up(1);
  check(await until('the view unzoomed', async () => await barrel(page) > 1000), 'let go: the barrel is back');
  const line = () => page.$eval('#overlay', (e) => e.textContent);
  await hand.down(1, await button(page, 'Show steps per second'));
  await hand.up(1);
  check(await until('the readout', async () => /FPS:\d+$/.test(await line())), 'a tap shows the steps per second');
  await page.$eval('button[aria-label="Show steps per second"]', (b) => b.click());
  check(await until('no readout', async () => !/FPS/.test(await line())), 'a screen reader\'s press hides them');
}

// A pinch and a drag over the game neither zoom nor scroll the page.
async function noZoomNorScroll(page, name) {
  const hand = fingers(page), [x, y] = await centre(page, '#canvas');
  await hand.down(1, [x - 10, y]);
  await hand.down(2, [x + 10, y]);
  for (let i = 1; i <= 10; i++) {
    await hand.move(1, [x - 10 - 12 * i, y - 5 * i]);
    await hand.move(2, [x + 10 + 12 * i, y + 5 * i]);
  }
  await hand.up(2);
  for (let i = 1; i <= 10; i++) await hand.move(1, [x, y - 20 * i]);
  await hand.up(1);
  await waitFrames(page, 3);
  const view = await page.evaluate(() => [visualViewport.scale, visualViewport.pageLeft, visualViewport.pageTop].join(', '));
  check(view === '1, 0, 0', `${name}: after a pinch and a drag the page is not zoomed nor scrolled (${view})`);
}

// The browser takes the WebGL context and gives it back: the page held
// still (hidden), the frame drawn after is the frame before; playing, no
// step while it is lost, and the game goes on after.
async function contextLoss(page) {
  // The extension is taken while there is a context: a lost one gives none.
  const lose = async (lost) => {
    await page.evaluate((lost) => {
      window.testLoss = window.testLoss || ZGL.gl.getExtension('WEBGL_lose_context');
      if (lost) window.testLoss.loseContext(); else window.testLoss.restoreContext();
    }, lost);
    await until('the context ' + (lost ? 'lost' : 'back'),
      () => page.evaluate((lost) => ZGLUT.lost === lost && ZGL.gl.isContextLost() === lost, lost));
  };
  await t.setHidden(page, true);
  await t.settled(page);
  await t.canvasPixels(page, (width, height, data) => { window.testFrame = data; });
  await lose(true);
  await lose(false);
  await t.settled(page);
  const differ = await t.canvasPixels(page, (width, height, data) =>
    (data.length === window.testFrame.length ? data.filter((value, i) => value !== window.testFrame[i]).length : -1));
  check(differ === 0, `the frame after the context came back is the frame before (${differ} bytes differ)`);
  await t.setHidden(page, false);
  const hand = fingers(page);
  await hand.down(1, await button(page, 'Fire'));
  await fired(page, await shotsLeft(page), 2);
  await lose(true);
  const shots = await shotsLeft(page), clock = await t.gameClock(page);
  await t.pause(400);
  check(await shotsLeft(page) === shots && await t.gameClock(page) === clock, 'no step while the context is lost');
  await lose(false);
  check(await fired(page, shots, 2), 'the context back, the game goes on');
  await hand.up(1);
}

// Installable (Chromium finds nothing against it); kept by the service
// worker, the game plays again with the network cut and the server gone.
async function offline(browser, page, server, base) {
  const session = await page.target().createCDPSession();
  const { installabilityErrors } = await session.send('Page.getInstallabilityErrors');
  check(installabilityErrors.length === 0, 'installable: ' + JSON.stringify(installabilityErrors));
  await until('the service worker', () => page.evaluate(() => navigator.serviceWorker.controller !== null));
  server.close();
  server.closeAllConnections();
  const again = await browser.newPage();
  await again.setViewport(emulation(PHONE, false));
  await again.setOfflineMode(true);
  await again.goto(base);
  check(await t.firstBall(again), 'offline, a second visit shows the game');
  const hand = fingers(again);
  await hand.down(1, await button(again, 'Fire'));
  check(await fired(again, 10000, 2), 'offline, a finger fires');
  await hand.up(1);
  await again.close();
}

async function main() {
  const { server, base } = await t.serveBuild();
  const browser = await t.launch();
  try {
    const phone = await t.open(browser, base, false, emulation(PHONE, false));
    await t.firstBall(phone);
    await fireForASecond(phone);
    await twoFingers(phone, 'phone');
    await fingerKeyZoomReadout(phone);
    await noZoomNorScroll(phone, 'phone upright');
    await contextLoss(phone);
    await turns(phone, PHONE, 'phone');
    await noZoomNorScroll(phone, 'phone sideways');
    const tablet = await t.open(browser, base, false, emulation(TABLET, false));
    await t.firstBall(tablet);
    await turns(tablet, TABLET, 'tablet');
    await twoFingers(tablet, 'tablet sideways');
    await tablet.close();
    await offline(browser, phone, server, base);
  } finally {
    await browser.close();
    server.close();
  }
  t.finish();
}

main().catch((error) => { console.error(error); process.exit(1); });
