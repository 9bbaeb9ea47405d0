// SPDX-License-Identifier: MIT
// The page of scripts/screenshot-touch: plays the browser game by touch in
// a phone's emulation, held sideways, and captures the page to
// ZARVEL_SCREENSHOT. Run by tests/web/run.sh with the build folder.
'use strict';
const t = require('../tests/web/browser-test.js');

// Holds the button named `name` with finger `id` for `count` frames.
async function hold(page, session, name, count) {
  const box = await page.$eval(`button[aria-label="${name}"]`,
    (b) => { const r = b.getBoundingClientRect(); return { x: r.x + r.width / 2, y: r.y + r.height / 2, id: 1 }; });
  await session.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [box] });
  await t.waitFrames(page, count);
  await session.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [box] });
}

async function main() {
  const { server, base } = await t.serveBuild();
  const browser = await t.launch();
  try {
    const page = await t.open(browser, base, false,
      { width: 844, height: 390, deviceScaleFactor: 2, isMobile: true, hasTouch: true, isLandscape: true });
    const session = await page.target().createCDPSession();
    await t.firstBall(page);
    await hold(page, session, 'Show steps per second', 2);
    await hold(page, session, 'Turn right', 10);
    await hold(page, session, 'Raise the barrel', 6);
    await hold(page, session, 'Fire', 12);
    await t.waitFrames(page, 30);
    await page.screenshot({ path: process.env.ZARVEL_SCREENSHOT });
  } finally {
    await browser.close();
    server.close();
  }
}

main().catch((error) => { console.error(error); process.exit(1); });
