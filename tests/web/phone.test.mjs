// The page on a phone, in headless Chromium with touch emulation and real touch input (CDP's
// Input.dispatchTouchEvent, which gives two-finger pinches too): the picture fits the screen in
// both orientations, a finger drags exactly as the mouse does, two fingers zoom about their
// middle, a double tap toggles the fit, fullscreen comes and goes. Screenshots, for people to look
// at, go to TAVRO_SHOTS as phone-*.png when it names a folder (at three device pixels a CSS
// pixel each takes a while, so a run without it takes none).
import assert from 'node:assert/strict';
import {copyFileSync, mkdirSync, readdirSync, readFileSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {after, before, describe, test} from 'node:test';
import {canvasPixels, demoDir, differingPixels, openPage, rendered, serveAndLaunch, waitForState, work} from './harness.mjs';

const shots = process.env.TAVRO_SHOTS;
const shoot = (page, name) => (shots ? page.screenshot({path: join(shots, `phone-${name}.png`)}) : undefined);
const portrait = {width: 390, height: 844};
const landscape = {width: 844, height: 390};
// Longer than two taps may be apart and still be a double tap.
const DOUBLE_TAP_WAIT = 400;
const phone = (viewport) => ({viewport, hasTouch: true, isMobile: true, deviceScaleFactor: 3});

let shared;

before(async () => {
  mkdirSync(join(work, 'demo'));
  for (const f of readdirSync(demoDir)) copyFileSync(join(demoDir, f), join(work, 'demo', f));
  // The demo with the straw hat (object 3) where the finger drag below leaves it: 50 left, 60 down.
  mkdirSync(join(work, 'moved'));
  for (const f of readdirSync(demoDir)) copyFileSync(join(demoDir, f), join(work, 'moved', f));
  writeFileSync(join(work, 'moved', 'demo.cnf'),
    readFileSync(join(demoDir, 'demo.cnf'), 'latin1').replace('300,40 94,311', '250,100 94,311'), 'latin1');
  if (shots) mkdirSync(shots, {recursive: true});
  shared = await serveAndLaunch();
});

after(() => shared?.stop());

// The demo opened in a page of `options`, its clock still (its pictures are tavro-render's).
async function demo(options) {
  const page = await openPage(shared.browser, options);
  await page.goto(`${shared.origin}/index.html?clock=still&open=${encodeURIComponent('/sets/demo/demo.cnf')}`);
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  await page.evaluate(() => window.tavro.settled());
  page.cdp = await page.context().newCDPSession(page);
  return page;
}

// Fingers at viewport points (an empty list lifts them all).
const touch = (page, type, points) => page.cdp.send('Input.dispatchTouchEvent',
  {type, touchPoints: points.map(([x, y], id) => ({x, y, id}))});

// The viewport point at the middle of map pixel [x, y], and the map point under a viewport point.
const geometry = (page) => page.evaluate(() => {
  const c = document.getElementById('playfield');
  const r = c.getBoundingClientRect();
  return {left: r.left, top: r.top, width: r.width, height: r.height, zoom: r.width / c.width,
    mapWidth: c.width, mapHeight: c.height};
});
const at = (g, [x, y]) => [g.left + (x + 0.5) * g.zoom, g.top + (y + 0.5) * g.zoom];
const mapAt = (g, [x, y]) => [(x - g.left) / g.zoom, (y - g.top) / g.zoom];

async function fingerDrag(page, from, to, steps = 6) {
  await touch(page, 'touchStart', [from]);
  for (let i = 1; i <= steps; ++i) {
    await touch(page, 'touchMove', [[from[0] + (to[0] - from[0]) * i / steps, from[1] + (to[1] - from[1]) * i / steps]]);
  }
  await touch(page, 'touchEnd', []);
  await page.evaluate(() => window.tavro.settled());
}

// What a test checks of any layout: nothing scrolls sideways, every visible control is a large
// enough touch target with a name, and the picture is wholly on the screen.
async function layout(page) {
  return page.evaluate(() => {
    const stage = document.getElementById('stage').getBoundingClientRect();
    const canvas = document.getElementById('playfield').getBoundingClientRect();
    const controls = [...document.querySelectorAll('#toolbar button, #toolbar select')]
      .filter((b) => b.getClientRects().length > 0)
      .map((b) => ({id: b.id || b.textContent, width: b.getBoundingClientRect().width,
        height: b.getBoundingClientRect().height, name: b.getAttribute('aria-label') || b.textContent.trim(),
        inside: b.getBoundingClientRect().left >= 0 && b.getBoundingClientRect().right <= innerWidth}));
    return {sideways: document.documentElement.scrollWidth - innerWidth, stage: stage.height, controls,
      canvas: {left: canvas.left, top: canvas.top, right: canvas.right, bottom: canvas.bottom,
        width: canvas.width, height: canvas.height}, screen: {width: innerWidth, height: innerHeight}};
  });
}

function assertOnScreen(shown) {
  const {canvas, screen} = shown;
  assert.ok(canvas.left >= 0 && canvas.top >= 0 && canvas.right <= screen.width + 0.5 && canvas.bottom <= screen.height + 0.5,
    `the picture is off the screen: ${JSON.stringify(canvas)}`);
  assert.ok(shown.sideways <= 0, `the page scrolls sideways by ${shown.sideways}`);
}

describe('a phone in portrait and in landscape', () => {
  test('the picture fits and is centred; the toolbar is one row of large touch targets', async () => {
    for (const [name, viewport] of [['portrait', portrait], ['landscape', landscape]]) {
      const page = await demo(phone(viewport));
      const shown = await layout(page);
      assertOnScreen(shown);
      if (name === 'portrait') {
        assert.ok(shown.canvas.width >= 0.95 * viewport.width, `${name}: width ${shown.canvas.width}`);
        assert.ok(shown.stage >= 0.75 * viewport.height, `${name}: the stage is ${shown.stage} high`);
      } else {
        assert.ok(shown.canvas.height >= 0.75 * viewport.height, `${name}: height ${shown.canvas.height}`);
      }
      // Centred across the screen.
      assert.ok(Math.abs(shown.canvas.left - (viewport.width - shown.canvas.right)) <= 1, `${name}: not centred`);
      for (const c of shown.controls) {
        assert.ok(c.width >= 44 && c.height >= 44, `${name}: ${c.id} is ${c.width}×${c.height}`);
        assert.ok(c.inside, `${name}: ${c.id} is cut off at the screen's edge`);
        assert.ok(c.name.length > 1 || !/^\d$/.test(c.name), `${name}: ${c.id} has no name`);
      }
      const rows = await page.evaluate(() => new Set([...document.querySelectorAll('#toolbar > * > button, #toolbar > button')]
        .filter((b) => b.getClientRects().length > 0).map((b) => Math.round(b.getBoundingClientRect().top))).size);
      assert.equal(rows, 1, `${name}: the toolbar has ${rows} rows`);
      await shoot(page, name);
      // The menu holds the rest; it opens over the stage and closes again with Escape.
      await page.tap('#menu-button');
      assert.equal(await page.locator('#information').isVisible(), true, `${name}: Information in the menu`);
      if (name === 'portrait') await shoot(page, 'menu');
      await page.keyboard.press('Escape');
      assert.equal(await page.locator('#information').isVisible(), false, `${name}: the menu closed`);
      assert.deepEqual(page.problems, []);
      await page.context().close();
    }
  });

  test('the fit follows the phone turning; a zoom that was chosen stays', async () => {
    const page = await demo(phone(portrait));
    await page.setViewportSize(landscape);
    await page.waitForFunction(() => document.getElementById('playfield').getBoundingClientRect().height > 290);
    assertOnScreen(await layout(page));
    await page.tap('#menu-button');
    await page.tap('#zoomIn');
    const zoomed = (await geometry(page)).zoom;
    await page.setViewportSize(portrait);
    await page.waitForTimeout(100);
    assert.equal((await geometry(page)).zoom, zoomed);
    // Zoom In from a fit below 1 is the first step, 1×.
    assert.equal(await page.locator('#zoom').textContent(), '1×');
    await page.tap('#fit');
    assert.ok(Math.abs((await geometry(page)).width - portrait.width) < 2, 'fitted again');
    await page.tap('#menu-button');
    await page.tap('#actual-size');
    assert.equal((await geometry(page)).zoom, 1, '1:1');
    await page.context().close();
  });
});

describe('fingers', () => {
  let page;
  before(async () => {
    page = await demo(phone(portrait));
  });
  after(() => page.context().close());

  test('a finger drag moves the straw hat exactly as tavro-render shows it moved', async () => {
    const g = await geometry(page);
    assert.ok(!Number.isInteger(g.zoom), `a fractional fit (${g.zoom})`);
    await fingerDrag(page, at(g, [350, 60]), at(g, [300, 120]));
    assert.equal(differingPixels(await canvasPixels(page), rendered('moved/demo.cnf').picture), 0);
    // And back, so that the tests after this one see the demo as it opened.
    await fingerDrag(page, at(g, [300, 120]), at(g, [350, 60]));
    assert.equal(differingPixels(await canvasPixels(page), rendered('demo/demo.cnf').picture), 0);
  });

  test('two fingers spread apart enlarge the picture about the point between them; one pans', async () => {
    const before = await geometry(page);
    // About an empty part of the picture, between the doll and the bubble, near enough its
    // middle that the scroll range lets it stay under the fingers.
    const middle = at(before, [240, 180]);
    const mapBefore = mapAt(before, middle);
    const [mx, my] = middle;
    await touch(page, 'touchStart', [[mx - 20, my], [mx + 20, my]]);
    for (let i = 1; i <= 8; ++i) await touch(page, 'touchMove', [[mx - 20 - i * 10, my], [mx + 20 + i * 10, my]]);
    await touch(page, 'touchEnd', []);
    const after = await geometry(page);
    // The fingers went from 40 to 200 apart: five times the size.
    assert.ok(Math.abs(after.zoom / before.zoom - 5) < 0.05, `zoomed ${after.zoom / before.zoom} times`);
    const mapAfter = mapAt(after, middle);
    assert.ok(Math.abs(mapAfter[0] - mapBefore[0]) < 1 && Math.abs(mapAfter[1] - mapBefore[1]) < 1,
      `the middle moved on the picture from ${mapBefore} to ${mapAfter}`);
    assert.equal(await page.locator('#fit').getAttribute('aria-pressed'), 'false');
    // One finger on an empty part (above the doll's head, left of her) pans the picture with it.
    const scroll = () => page.evaluate(() => [document.getElementById('stage').scrollLeft, document.getElementById('stage').scrollTop]);
    const pixels = await canvasPixels(page);
    const start = await scroll();
    const from = middle;
    await fingerDrag(page, from, [from[0] + 60, from[1] + 40]);
    const end = await scroll();
    // Scrolling lands on device pixels: a third of a CSS pixel each step, at most.
    assert.ok(Math.abs(start[0] - end[0] - 60) <= 1 && Math.abs(start[1] - end[1] - 40) <= 1, `scrolled ${start} -> ${end}`);
    assert.equal(differingPixels(pixels, await canvasPixels(page)), 0, 'nothing was moved');
  });

  test('a double tap toggles between the fit and 2× at the tap', async () => {
    // The browser makes no click of a tap that follows another touch this closely: wait as a
    // person's finger would.
    await page.waitForTimeout(DOUBLE_TAP_WAIT);
    await page.tap('#fit');
    const g = await geometry(page);
    const point = at(g, [40, 300]);
    const tap = async () => {
      await touch(page, 'touchStart', [point]);
      await touch(page, 'touchEnd', []);
    };
    await tap();
    await tap();
    await page.waitForFunction(() => document.getElementById('zoom').textContent === '2×');
    const zoomed = await geometry(page);
    // Across, the tapped point stays under the finger; 2× the picture is not higher than the
    // stage, so it stays centred from top to bottom.
    const under = mapAt(zoomed, point);
    assert.ok(Math.abs(under[0] - 40.5) < 1, `the tap's point moved to ${under}`);
    await shoot(page, 'zoomed');
    await page.waitForTimeout(DOUBLE_TAP_WAIT);
    await tap();
    await tap();
    await page.waitForFunction(() => document.getElementById('fit').getAttribute('aria-pressed') === 'true');
    assert.deepEqual(page.problems, []);
  });

  test('the set picker switches sets as the set buttons do, and shows the sets not in use as such', async () => {
    const options = () => page.evaluate(() => [...document.getElementById('set-picker').options]
      .map((o) => [o.text, o.disabled, o.selected]));
    assert.deepEqual((await options()).slice(0, 4), [['Set 0', false, true], ['Set 1', false, false],
      ['Set 2', false, false], ['Set 3', true, false]]);
    await page.selectOption('#set-picker', '1');
    assert.equal(differingPixels(await canvasPixels(page), rendered('demo/demo.cnf', '--set', '1').picture), 0);
    assert.deepEqual((await options())[1], ['Set 1', false, true]);
    // A key chooses too; the picker follows.
    await page.keyboard.press('2');
    await page.waitForFunction(() => document.getElementById('set-picker').value === '2');
    await page.keyboard.press('0');
    await page.waitForFunction(() => document.getElementById('set-picker').value === '0');
  });
});

describe('fullscreen, desktop and looks', () => {
  test('fullscreen enters and leaves with the button and with Escape', async () => {
    const page = await demo(phone(portrait));
    await page.tap('#fullscreen');
    await page.waitForFunction(() => document.documentElement.classList.contains('fullscreen'));
    assert.equal(await page.locator('#toolbar').isVisible(), false);
    const shown = await layout(page);
    assertOnScreen(shown);
    await shoot(page, 'fullscreen');
    await page.tap('#leave-fullscreen');
    await page.waitForFunction(() => !document.documentElement.classList.contains('fullscreen'));
    assert.equal(await page.locator('#toolbar').isVisible(), true);
    await page.tap('#fullscreen');
    await page.waitForFunction(() => document.documentElement.classList.contains('fullscreen'));
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => !document.documentElement.classList.contains('fullscreen'));
    assert.deepEqual(page.problems, []);
    await page.context().close();
  });

  test('without the Fullscreen API the stage fills the window, and Escape leaves it', async () => {
    const page = await openPage(shared.browser, phone(landscape));
    await page.addInitScript(() => Object.defineProperty(Document.prototype, 'fullscreenEnabled', {get: () => false}));
    await page.goto(`${shared.origin}/index.html?clock=still&open=${encodeURIComponent('/sets/demo/demo.cnf')}`);
    assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
    await page.tap('#fullscreen');
    await page.waitForFunction(() => document.documentElement.classList.contains('fullscreen'));
    assert.equal(await page.evaluate(() => document.fullscreenElement), null);
    const stage = await page.locator('#stage').boundingBox();
    assert.deepEqual([stage.x, stage.y, stage.width, stage.height], [0, 0, landscape.width, landscape.height]);
    await page.waitForFunction((h) => document.getElementById('playfield').getBoundingClientRect().height > h - 2,
      landscape.height);
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => !document.documentElement.classList.contains('fullscreen'));
    assert.deepEqual(page.problems, []);
    await page.context().close();
  });

  test('on a desktop the picture is enlarged by a whole factor, centred; the scheme leaves its pixels alone', async () => {
    const page = await demo({viewport: {width: 1280, height: 800}});
    const g = await geometry(page);
    const shown = await layout(page);
    assert.ok(Number.isInteger(g.zoom) && g.zoom >= 1, `a whole factor (${g.zoom})`);
    assert.ok((g.zoom + 1) * 360 > shown.stage || (g.zoom + 1) * 480 > 1280, `${g.zoom + 1} fits too`);
    assertOnScreen(shown);
    assert.ok(Math.abs(shown.canvas.left - (1280 - shown.canvas.right)) <= 1, 'centred');
    await shoot(page, 'desktop');
    const light = await canvasPixels(page);
    await page.emulateMedia({colorScheme: 'dark'});
    const stage = await page.evaluate(() => getComputedStyle(document.getElementById('stage')).backgroundColor);
    await shoot(page, 'desktop-dark');
    await page.emulateMedia({colorScheme: 'light'});
    const lightStage = await page.evaluate(() => getComputedStyle(document.getElementById('stage')).backgroundColor);
    assert.notEqual(stage, lightStage, 'the page follows the scheme');
    await page.emulateMedia({colorScheme: 'dark'});
    assert.equal(differingPixels(light, await canvasPixels(page)), 0, 'the picture does not');
    // Ctrl+wheel zooms by a step about the pointer; + and − of the main keys step too.
    await page.mouse.move(g.left + 100, g.top + 100);
    await page.keyboard.down('Control');
    await page.mouse.wheel(0, -100);
    await page.keyboard.up('Control');
    await page.waitForFunction((z) => document.getElementById('zoom').textContent === `${z}×`, g.zoom + 1);
    await page.keyboard.press('+');
    assert.equal(await page.locator('#zoom').textContent(), `${g.zoom + 2}×`);
    await page.keyboard.press('-');
    assert.equal(await page.locator('#zoom').textContent(), `${g.zoom + 1}×`);
    // Save and Record say what they did; Record's buttons say what they do.
    const download = page.waitForEvent('download');
    await page.click('#save');
    assert.equal((await download).suggestedFilename(), 'demo.cnf');
    await page.waitForFunction(() => document.getElementById('notice').textContent === 'Downloaded demo.cnf and kept on the shelf');
    assert.equal(await page.locator('#notice').isVisible(), true);
    await page.click('#record');
    await page.waitForFunction(() => document.getElementById('message').open);
    assert.deepEqual(await page.locator('#message-extra button').allTextContents(), ['Record 5 seconds as GIF',
      'Record 5 seconds as WebP', 'Record 30 seconds as GIF', 'Record 30 seconds as WebP']);
    await page.keyboard.press('Escape');
    assert.deepEqual(page.problems, []);
    await page.context().close();
  });

  test('a first visit explains itself: no greyed buttons, named controls reached by Tab, a demo link', async () => {
    const page = await openPage(shared.browser, {viewport: {width: 1280, height: 800}});
    await page.goto(`${shared.origin}/index.html?clock=still`);
    await waitForState(page, 'empty');
    const visible = await page.evaluate(() => [...document.querySelectorAll('#toolbar button')]
      .filter((b) => b.getClientRects().length > 0).map((b) => [b.id, b.disabled]));
    assert.deepEqual(visible, [['open', false], ['folder', false], ['help', false], ['about', false]]);
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'open');
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'folder');
    assert.equal(await page.locator('#stage').getAttribute('aria-label'), 'No set open');
    await shoot(page, 'first-visit');
    await page.click('#try-demo');
    assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
    assert.equal(await page.locator('#stage').getAttribute('aria-label'), 'Picture of demo.cnf');
    assert.equal(await page.locator('#sets button').first().getAttribute('aria-label'), 'Set 0');
    assert.deepEqual(page.problems, []);
    await page.context().close();
  });
});
