// SPDX-License-Identifier: MIT
// The browser game on phones and tablets, in headless Chromium's device
// emulation (a phone 390 x 844 at 3 device pixels a pixel, a tablet 820 x
// 1180 at 2, each upright and sideways), played with touch events of
// several fingers on the on-screen controls. With the helpers of
// browser-test.js, and like it waiting for what the game shows:
// - the view fits: the largest square beside the buttons, drawn at the
//   device's pixels with legible text, nothing to scroll, also after a turn
//   of the device while playing; the buttons named in words, 48 px or more;
// - fire held by a finger for 1 s; fire and turn held by two fingers, one
//   lifted; a finger sliding off or cancelled; a control held by a finger
//   and a key; a zoom; the readout by a tap and by a screen reader's press;
// - a pinch and a drag over the game neither zoom nor scroll the page;
// - a lost WebGL context: no step while lost, the same picture after;
// - installable, and a second visit with the network cut plays.
//   tests/web/run.sh BUILD_DIR tests/web/touch-test.js
'use strict';
const t = require('./browser-test.js');

const { check, until, waitFrames, shotsLeft, fired } = t;
const PHONE = { width: 390, height: 844, deviceScaleFactor: 3 };
const TABLET = { width: 820, height: 1180, deviceScaleFactor: 2 };
const NAMES = ['Raise the barrel', 'Turn left', 'Turn right', 'Lower the barrel', 'Zoom 32 degrees',
  'Zoom 16 degrees', 'Zoom 8 degrees', 'Fire', 'Show steps per second'];

// Puppeteer's viewport of `device` with its touch screen, upright or sideways.
function emulation(device, sideways) {
  const [width, height] = sideways ? [device.height, device.width] : [device.width, device.height];
  return { width, height, deviceScaleFactor: device.deviceScaleFactor, isMobile: true, hasTouch: true,
    isLandscape: sideways };
}

// The centre of the button named `name`, in CSS pixels.
const centre = (page, name) => page.$eval(`button[aria-label="${name}"]`,
  (b) => { const r = b.getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; });

// The fingers on the page's touch screen: down, move and up by a number of
// one's own, or all cancelled; the fingers still down stay down.
function fingers(page) {
  const points = new Map();
  const session = page.target().createCDPSession();
  const send = async (type, list) => (await session).send('Input.dispatchTouchEvent', { type, touchPoints: list });
  return {
    down: (id, [x, y]) => { points.set(id, { x, y, id }); return send('touchStart', [...points.values()]); },
    move: (id, [x, y]) => { points.set(id, { x, y, id }); return send('touchMove', [...points.values()]); },
    up: (id) => { const point = points.get(id); points.delete(id); return send('touchEnd', [point]); },
    cancel: () => { points.clear(); return send('touchCancel', []); },
  };
}

// Checks that firing has stopped: the shots left stand for 30 frames.
async function stopped(page, what) {
  await waitFrames(page, 3);
  const shots = await shotsLeft(page);
  await waitFrames(page, 30);
  check(await shotsLeft(page) === shots, what);
}

// The page's layout: the canvas's box and drawing buffer, the view's box,
// the viewport, what the page could scroll, and the buttons' names and boxes.
const layout = (page) => page.evaluate(() => {
  const box = (e) => { const r = e.getBoundingClientRect(); return { x: r.x, y: r.y, w: r.width, h: r.height }; };
  const canvas = document.getElementById('canvas');
  return { canvas: box(canvas), buffer: [canvas.width, canvas.height], view: box(document.getElementById('view')),
    inner: [innerWidth, innerHeight], ratio: devicePixelRatio,
    scroll: [document.scrollingElement.scrollWidth, document.scrollingElement.scrollHeight],
    buttons: [...document.querySelectorAll('#controls button')].map((b) => ({ name: b.getAttribute('aria-label'), ...box(b) })) };
});

// The rows of the overlay's yellow text in the top tenth of the canvas, as
// a share of its height (18-pixel glyphs in 600 pixels: about 0.022).
const textShare = (page) => t.canvasPixels(page, (width, height, data) => {
  let rows = 0;
  for (let y = 0; y < height / 10; y++) {
    for (let x = 0; x < width / 2; x++) {
      const i = 4 * (y * width + x);
      if (data[i] > 200 && data[i + 1] > 200 && data[i + 2] < 80) { rows++; break; }
    }
  }
  return rows / height;
});

// The view fits the screen `what` names: a square of whole device pixels
// as large as the view allows, within the screen, nothing to scroll, the
// text as large a share of it as natively, the buttons beside it (sideways)
// or under it (upright), each at least 48 px and named in words.
async function fits(page, what, sideways) {
  await until('the fitted view', async () => {
    const l = await layout(page);
    return Math.round(l.canvas.w * l.ratio) === l.buffer[0] && l.buffer[0] === Math.floor(Math.min(l.view.w, l.view.h) * l.ratio);
  });
  await waitFrames(page, 3);
  const l = await layout(page), c = l.canvas;
  check(c.w === c.h && l.buffer[0] === l.buffer[1] && l.buffer[0] === Math.round(c.w * l.ratio) &&
        c.w > Math.min(l.view.w, l.view.h) - 1,
        `${what}: the view is the largest square, ${c.w.toFixed(1)} px, drawn at ${l.buffer.join(' x ')}`);
  check(c.x >= 0 && c.y >= 0 && c.x + c.w <= l.inner[0] && c.y + c.h <= l.inner[1] &&
        l.scroll[0] <= l.inner[0] && l.scroll[1] <= l.inner[1], `${what}: on screen, nothing to scroll`);
  const share = await textShare(page);
  check(share > 0.018 && share < 0.03, `${what}: the text is ${(share * 100).toFixed(1)} % of the view's height`);
  const beside = (b) => (sideways ? b.x + b.w <= c.x || b.x >= c.x + c.w : b.y >= c.y + c.h);
  const bad = l.buttons.filter((b) => b.w < 48 || b.h < 48 || !beside(b) || b.x < 0 || b.y < 0 ||
    b.x + b.w > l.inner[0] || b.y + b.h > l.inner[1]);
  check(l.buttons.map((b) => b.name).join() === NAMES.join() && bad.length === 0,
        `${what}: ${l.buttons.length} buttons ${sideways ? 'beside' : 'under'} the view` +
        (bad.length ? ', not: ' + bad.map((b) => b.name).join(', ') : ''));
}

// Fits upright and sideways, turned while fire is held, and plays on.
async function turns(page, device, name) {
  const hand = fingers(page);
  await fits(page, name + ' upright', false);
  await hand.down(1, await centre(page, 'Fire'));
  await fired(page, await shotsLeft(page), 2);
  await page.setViewport(emulation(device, true));
  await fits(page, name + ' turned sideways while firing', true);
  await hand.up(1);
  await hand.down(1, await centre(page, 'Fire'));
  check(await fired(page, await shotsLeft(page), 2), name + ' sideways: a finger fires');
  await hand.up(1);
}

// Fire held by a finger for 1 s of the game's clock spends about 50 shots:
// one every second step, so at least half the frames drawn meanwhile and at
// most one every 20 ms.
async function fireForASecond(page) {
  const hand = fingers(page);
  const before = await shotsLeft(page), frames = await page.evaluate(() => ZGLUT.frames);
  const start = await t.gameClock(page);
  await hand.down(1, await centre(page, 'Fire'));
  await until('1 s of play', async () => await t.gameClock(page) > start + 1000);
  await hand.up(1);
  const elapsed = await t.gameClock(page) - start;
  const drawn = await page.evaluate(() => ZGLUT.frames) - frames;
  await waitFrames(page, 3);
  const shots = before - await shotsLeft(page);
  check(shots >= drawn / 2 - 2 && shots <= elapsed / 20 + 2,
        `fire held for ${elapsed.toFixed(0)} ms: ${shots} shots (${drawn} frames drawn)`);
}

// Fire and turn right held by two fingers: lifting the turning one stops
// the turn and the firing goes on; lifting the other stops it. A finger sliding
// off Fire, or a cancelled touch, stops the firing.
async function twoFingers(page, name) {
  const hand = fingers(page);
  await hand.down(1, await centre(page, 'Fire'));
  await hand.down(2, await centre(page, 'Turn right'));
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
  await hand.down(1, await centre(page, 'Fire'));
  await fired(page, await shotsLeft(page), 2);
  const [x, y] = await centre(page, 'Fire');
  await hand.move(1, [x, y - 200]);
  await stopped(page, name + ': a finger sliding off Fire stops the firing');
  await hand.up(1);
  await hand.down(1, await centre(page, 'Fire'));
  await fired(page, await shotsLeft(page), 2);
  await hand.cancel();
  await stopped(page, name + ': a cancelled touch stops the firing');
}

// Fire held by a finger and by space stays held until both let go.
async function fingerAndKey(page) {
  const hand = fingers(page);
  await page.focus('#canvas');
  await hand.down(1, await centre(page, 'Fire'));
  await page.keyboard.down(' ');
  await fired(page, await shotsLeft(page), 2);
  await hand.up(1);
  check(await fired(page, await shotsLeft(page), 4), 'the finger lifted, space still held: the gun fires on');
  await page.keyboard.up(' ');
  await stopped(page, 'both let go: the firing stops');
}

// The black pixels of the barrel in the bottom third of the canvas.
const barrel = (page) => t.canvasPixels(page, (width, height, data) => {
  let count = 0;
  for (let y = Math.round(height * 2 / 3); y < height; y++) {
    for (let x = 0; x < width; x++) {
      const i = 4 * (y * width + x);
      if (data[i] + data[i + 1] + data[i + 2] < 40) count++;
    }
  }
  return count;
});

// Zoom 8 degrees held by a finger narrows the view until the barrel, 17
// degrees below the line of sight, leaves it; let go, it is back. A tap on
// the readout's button shows the steps per second, and a press without a
// pointer (a screen reader's, the keyboard's) hides them.
async function zoomAndReadout(page) {
  const hand = fingers(page);
  check(await barrel(page) > 1000, 'the barrel is in view');
  await hand.down(1, await centre(page, 'Zoom 8 degrees'));
  check(await until('the zoomed view', async () => await barrel(page) === 0), 'Zoom 8 degrees held: the barrel leaves the view');
  await hand.up(1);
  check(await until('the view unzoomed', async () => await barrel(page) > 1000), 'let go: the barrel is back');
  const line = () => page.$eval('#overlay', (e) => e.textContent);
  const place = await centre(page, 'Show steps per second');
  await hand.down(1, place);
  await hand.up(1);
  check(await until('the readout', async () => /FPS:\d+$/.test(await line())), 'a tap shows the steps per second');
  await page.$eval('button[aria-label="Show steps per second"]', (b) => b.click());
  check(await until('no readout', async () => !/FPS/.test(await line())), 'a screen reader\'s press hides them');
}

// A pinch and a drag over the game neither zoom nor scroll the page.
async function noZoomNorScroll(page, name) {
  const hand = fingers(page);
  const c = await page.$eval('#canvas', (e) => { const r = e.getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; });
  await hand.down(1, [c[0] - 10, c[1]]);
  await hand.down(2, [c[0] + 10, c[1]]);
  for (let i = 1; i <= 10; i++) {
    await hand.move(1, [c[0] - 10 - 12 * i, c[1] - 5 * i]);
    await hand.move(2, [c[0] + 10 + 12 * i, c[1] + 5 * i]);
  }
  await hand.up(2);
  for (let i = 1; i <= 10; i++) await hand.move(1, [c[0], c[1] - 20 * i]);
  await hand.up(1);
  await waitFrames(page, 3);
  const view = await page.evaluate(() => [visualViewport.scale, visualViewport.pageLeft, visualViewport.pageTop]);
  check(view.join() === '1,0,0', `${name}: after a pinch and a drag the page is not zoomed nor scrolled (${view.join(', ')})`);
}

// The browser takes the WebGL context and gives it back: the page held
// still (hidden), the frame drawn after is the frame before; playing, no
// step while it is lost, and the game goes on after.
async function contextLoss(page) {
  const hand = fingers(page);
  // The extension is taken while there is a context: a lost one gives none.
  const lose = (lost) => page.evaluate((lost) => {
    window.testLoss = window.testLoss || ZGL.gl.getExtension('WEBGL_lose_context');
    if (lost) window.testLoss.loseContext(); else window.testLoss.restoreContext();
  }, lost);
  const isLost = (lost) => until('the context ' + (lost ? 'lost' : 'back'),
    () => page.evaluate((lost) => ZGLUT.lost === lost && Module.canvas.getContext('webgl').isContextLost() === lost, lost));
  const setHidden = (value) => page.evaluate((value) => {
    Object.defineProperty(document, 'hidden', { value, configurable: true });
    document.dispatchEvent(new Event('visibilitychange'));
  }, value);
  await setHidden(true);
  await t.settled(page);
  await t.canvasPixels(page, (width, height, data) => { window.testFrame = data; });
  await lose(true);
  await isLost(true);
  await lose(false);
  await isLost(false);
  await t.settled(page);
  const differ = await t.canvasPixels(page, (width, height, data) =>
    (data.length === window.testFrame.length ? data.filter((value, i) => value !== window.testFrame[i]).length : -1));
  check(differ === 0, `the frame after the context came back is the frame before (${differ} bytes differ)`);
  await setHidden(false);
  await hand.down(1, await centre(page, 'Fire'));
  await fired(page, await shotsLeft(page), 2);
  await lose(true);
  await isLost(true);
  const shots = await shotsLeft(page), clock = await t.gameClock(page);
  await t.pause(400);
  check(await shotsLeft(page) === shots && await t.gameClock(page) === clock, 'no step while the context is lost');
  await lose(false);
  await isLost(false);
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
  await hand.down(1, await centre(again, 'Fire'));
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
    await fingerAndKey(phone);
    await zoomAndReadout(phone);
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
