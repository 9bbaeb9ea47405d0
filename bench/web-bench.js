// SPDX-License-Identifier: MIT
// The browser game's figures in headless Chromium (WebGL on SwiftShader):
// the frame benchmark (bench/web_frame_bench.cpp) and the real game at the
// start scene for ZARVEL_IDLE_SECONDS (default 10), its steps per second
// read second by second from the game's own rate readout (F). Prints
// figures, asserts nothing. ZARVEL_NO_FRAMES=1 leaves the frame benchmark out.
//   bench/run-web-benchmarks    (builds, then runs this with puppeteer-core)
'use strict';
const path = require('path');
const puppeteer = require('puppeteer-core');
const { serve } = require('../web/serve.js');

const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

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

// Plays the start scene with the rate readout on; prints the rate each second.
async function startScene(browser, base, seconds) {
  const page = await browser.newPage();
  await page.goto(base);
  await page.click('#canvas');
  await pause(2000);
  await page.keyboard.press('f');
  await pause(1500);
  const rates = [];
  for (let i = 0; i < seconds; i++) {
    await pause(1000);
    const line = await page.$eval('#overlay', (e) => e.textContent);
    rates.push(Number(line.split('FPS:')[1]));
  }
  const mean = rates.reduce((a, b) => a + b, 0) / rates.length;
  console.log(`start scene, steps per second by the game's readout, second by second: ${rates.join(' ')}`);
  console.log(`start scene: mean ${mean.toFixed(1)}, lowest ${Math.min(...rates)}`);
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
  try {
    console.log('browser: ' + await browser.version());
    if (!process.env.ZARVEL_NO_FRAMES) await frames(browser, base);
    await startScene(browser, base, Number(process.env.ZARVEL_IDLE_SECONDS || 10));
  } finally {
    await browser.close();
    server.close();
  }
}

main().catch((error) => { console.error(error); process.exit(1); });
