// The page behaves as the window does: its keys, its boxes, the "Select CNF File" choice, what a
// failed or half-given open leaves, and the commands the window has. Pictures are compared with
// tavro-render's with the page's clock standing still, so that no alarm has changed them.
import assert from 'node:assert/strict';
import {copyFileSync, mkdirSync, readdirSync, readFileSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {after, before, describe, test} from 'node:test';
import {lzhArchive, plainDemo, writeTroubledSets} from './fixtures.mjs';
import {
  canvasPixels, demoDir, differingPixels, freshPage, openPage, rendered, serveAndLaunch, sharedContext,
  waitForState, work,
} from './harness.mjs';

let shared;
let browser;
let origin;
/** The context of the tests that take the page as it comes: each test's page is alone in it. */
let plain;

// A folder of the demo's files with its configuration changed by `edit`, and any extra files.
function demoFolder(name, edit = (text) => text, extra = {}) {
  mkdirSync(join(work, name), {recursive: true});
  for (const f of readdirSync(demoDir)) copyFileSync(join(demoDir, f), join(work, name, f));
  writeFileSync(join(work, name, 'demo.cnf'), edit(readFileSync(join(demoDir, 'demo.cnf'), 'latin1')), 'latin1');
  for (const [file, text] of Object.entries(extra)) writeFileSync(join(work, name, file), text, 'latin1');
}

const demoText = () => readFileSync(join(demoDir, 'demo.cnf'), 'latin1');
// The demo with the straw hat moved in set 0: tells two configurations of one archive apart.
const movedHat = (text) => text.replace('300,40 94,311', '200,200 94,311');

before(async () => {
  demoFolder('demo');
  // The hat against the picture's right edge, so that a click beside the picture finds it.
  demoFolder('edge', (text) => text.replace('300,40 94,311', '370,40 94,311'));
  demoFolder('pair', (text) => text, {'other.cnf': movedHat(demoText())});
  writeFileSync(join(work, 'demo.lha'), lzhArchive(plainDemo(demoDir)));
  writeFileSync(join(work, 'demo.lzh'), lzhArchive(plainDemo(demoDir)));
  // b.cnf before a.cnf in the archive: the choice lists them as the archive holds them.
  const cels = plainDemo(demoDir).filter(([n]) => n.toString() !== 'demo.cnf');
  writeFileSync(join(work, 'two.lzh'), lzhArchive([[Buffer.from('b.cnf'), Buffer.from(demoText(), 'latin1')],
    [Buffer.from('a.cnf'), Buffer.from(movedHat(demoText()), 'latin1')], ...cels]));
  writeTroubledSets(work, demoDir);
  shared = await serveAndLaunch();
  ({browser, origin} = shared);
  plain = await sharedContext(browser);
});

after(() => shared?.stop());

// The page with its clock standing still, optionally opening `link`; in a context of its own
// when `options` asks for one.
async function still(link, options = {}) {
  const page = await freshPage(browser, plain, options);
  await page.addInitScript(() => {
    window.boxesOpened = 0;
    const showModal = HTMLDialogElement.prototype.showModal;
    HTMLDialogElement.prototype.showModal = function () {
      if (this.id === 'message') ++window.boxesOpened;
      return showModal.call(this);
    };
  });
  const open = link ? `&open=${encodeURIComponent(link)}` : '';
  await page.goto(`${origin}/index.html?clock=still${open}`);
  await waitForState(page, link ? 'shown' : 'empty', 'failed');
  return page;
}

// Calls are answered in order, each after the pictures of those before it: once this is
// answered, the page has drawn what the earlier calls changed.
const settle = (page) => page.evaluate(() => window.tavro.client.call('states'));

const same = async (page, set, ...args) => {
  await settle(page);
  return differingPixels(await canvasPixels(page), rendered(set, ...args).picture);
};

// The box open now: its title, text, mark and buttons.
const openBox = (page) => page.waitForFunction(() => {
  const d = document.getElementById('message');
  if (!d.open) return null;
  const mark = d.classList.contains('exclamation') ? 'exclamation' : d.classList.contains('information') ? 'information' : 'none';
  return {title: document.getElementById('message-title').textContent, text: document.getElementById('message-text').textContent,
    mark, buttons: [...document.querySelectorAll('#message-buttons button')].map((b) => b.textContent)};
}, null, {timeout: 15000}).then((h) => h.jsonValue());

// Closes the box open now by `how` (OK by default); done once it is closed or the next is open.
async function closeBox(page, how = () => page.click('#message-ok')) {
  const shown = await page.evaluate(() => window.boxesOpened);
  await how();
  await page.waitForFunction((n) => !document.getElementById('message').open || window.boxesOpened > n, shown,
    {timeout: 15000});
}

// Closes every box an open shows, with OK, until the open is over and no box follows; returns
// their texts.
async function closeAll(page) {
  const texts = [];
  for (;;) {
    await page.waitForFunction(() => document.getElementById('message').open ||
      document.documentElement.dataset.tavroState !== 'loading', null, {timeout: 15000});
    if (!(await page.evaluate(() => document.getElementById('message').open))) {
      await page.waitForTimeout(300);
      if (!(await page.evaluate(() => document.getElementById('message').open))) return texts;
    }
    texts.push((await openBox(page)).text);
    await closeBox(page);
  }
}

const boxClosed = (page) => page.waitForFunction(() => !document.getElementById('message').open, null, {timeout: 15000});

const files = (folder) => readdirSync(join(work, folder)).map((f) => join(work, folder, f));

function assertClean(page) {
  assert.deepEqual(page.problems, []);
}

describe('keys', () => {
  test('main-row digits by position with Shift, Ctrl+digit and keypad digits pick sets', async () => {
    const page = await still('/sets/demo/demo.cnf');
    await page.keyboard.press('Shift+Digit2');
    assert.equal(await same(page, 'demo/demo.cnf', '--set', '2'), 0, 'Shift+2');
    await page.keyboard.press('Control+Digit1');
    assert.equal(await same(page, 'demo/demo.cnf', '--set', '1'), 0, 'Ctrl+1');
    // Without Num Lock (as the driver presses it) keypad 0 is Insert, no digit; with it, set 0.
    await page.keyboard.press('Numpad0');
    assert.equal(await same(page, 'demo/demo.cnf', '--set', '1'), 0, 'keypad Insert');
    await page.evaluate(() => document.dispatchEvent(new KeyboardEvent('keydown',
      {key: '0', code: 'Numpad0', location: 3, bubbles: true})));
    assert.equal(await same(page, 'demo/demo.cnf'), 0, 'keypad 0');
    assertClean(page);
  });

  test('accelerators keep the sequence that lifts fixing, other keys break it', async () => {
    const page = await still('/sets/demo/demo.cnf');
    const box = await page.locator('#playfield').boundingBox();
    // Her face is the fixed object 0: held only once fixing is lifted.
    const tug = async () => {
      await page.mouse.move(box.x + 110, box.y + 80);
      await page.mouse.down();
      await page.mouse.move(box.x + 110, box.y + 95, {steps: 3});
      const held = await page.evaluate(() => window.tavro.client.call('holdsObject'));
      await page.mouse.up();
      return held;
    };
    await page.keyboard.type('zo');
    await page.keyboard.press('Tab');
    await page.keyboard.type('rve');
    assert.equal(await tug(), false, 'Tab broke the sequence');
    await page.keyboard.type('zo');
    await page.keyboard.press('NumpadAdd');  // Zoom In, an accelerator: the view never sees it
    await page.keyboard.press('NumpadSubtract');
    await page.keyboard.type('rve');
    assert.equal(await tug(), true, 'the face drags freely');
    assertClean(page);
  });

  test('keypad + and - zoom, the arrows scroll by a tenth of the picture', async () => {
    const page = await still('/sets/demo/demo.cnf', {viewport: {width: 800, height: 600}});
    for (let i = 0; i < 3; ++i) await page.keyboard.press('NumpadAdd');
    assert.equal(await page.locator('#zoom').textContent(), '4×');
    const scroll = async () => {
      await settle(page);
      return page.evaluate(() => [document.getElementById('stage').scrollLeft, document.getElementById('stage').scrollTop]);
    };
    await page.evaluate(() => document.getElementById('stage').scrollTo(0, 0));
    await page.keyboard.press('ArrowRight');
    await page.keyboard.press('ArrowDown');
    assert.deepEqual(await scroll(), [192, 144]);
    await page.keyboard.press('ArrowLeft');
    await page.keyboard.press('ArrowLeft');
    assert.deepEqual(await scroll(), [0, 144]);
    await page.keyboard.press('NumpadSubtract');
    assert.equal(await page.locator('#zoom').textContent(), '3×');
    assertClean(page);
  });
});

describe('boxes', () => {
  test('the open\'s messages, information and inspection are titled and marked as the window\'s', async () => {
    const page = await still();
    await page.setInputFiles('#open-files', files('messages'));
    assert.deepEqual(await openBox(page), {title: 'TAVRO32', text: 'palette file (lost.kcf) is not found',
      mark: 'exclamation', buttons: ['OK']});
    await closeBox(page, () => page.keyboard.press('Enter'));
    for (let i = 0; i < 3; ++i) {
      await openBox(page);
      await closeBox(page, () => page.keyboard.press('Escape'));
    }
    assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
    assert.equal(await page.title(), 'demo.cnf - TAVRO32 (2 load problems: Load Report)');
    await page.click('#information');
    const information = await openBox(page);
    assert.equal(information.title, 'TAVRO32');
    assert.equal(information.mark, 'none');
    assert.match(information.text, /^map size : 480 x 360\n/);
    await page.click('#message-ok');
    await page.click('#playfield', {button: 'right', position: {x: 350, y: 60}});
    const inspected = await openBox(page);
    assert.deepEqual([inspected.title, inspected.mark], ['Object No.3', 'none']);
    assertClean(page);
  });

  test('the load report sorts by its columns, copies what it shows and names files as given', async () => {
    const page = await still(undefined, {permissions: ['clipboard-read', 'clipboard-write']});
    await page.setInputFiles('#open-files', files('messages'));
    assert.equal((await closeAll(page)).length, 4);
    await waitForState(page, 'shown');
    await page.click('#report');
    const report = await openBox(page);
    assert.deepEqual([report.title, report.text, report.buttons], ['Load Report', 'The last load met 2 problems:', ['Copy', 'Close']]);
    const column = (n) => page.locator(`#message-extra tbody td:nth-child(${n})`).allTextContents();
    const lines = (await column(2)).map(Number);
    assert.deepEqual(lines, [...lines].sort((a, b) => a - b));
    assert.deepEqual(await column(1), ['demo.cnf', 'demo.cnf']);
    await page.click('#message-extra th:nth-child(2) button');
    assert.deepEqual((await column(2)).map(Number), [...lines].sort((a, b) => b - a));
    await page.click('#message-copy');
    const copied = await page.evaluate(() => navigator.clipboard.readText());
    assert.deepEqual(copied.trim().split('\n').map((l) => Number(l.split(':')[1])), [...lines].sort((a, b) => b - a));
    await page.keyboard.press('Escape');
    await boxClosed(page);
    assertClean(page);
  });

  test('an archive member is named after its archive, never the page\'s folders', async () => {
    const page = await still();
    const alone = lzhArchive([[Buffer.from('alone.cnf'), Buffer.from(demoText(), 'latin1')]]);
    writeFileSync(join(work, 'alone.lzh'), alone);
    await page.setInputFiles('#open-files', join(work, 'alone.lzh'));
    const texts = await closeAll(page);
    assert.ok(texts.length > 0);
    for (const text of texts) assert.doesNotMatch(text, /\/sets\/|\/tmp\//);
    assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
    await page.click('#report');
    await openBox(page);
    const named = await page.locator('#message-extra tbody td:nth-child(1)').allTextContents();
    assert.ok(named.length > 0);
    for (const name of named) assert.equal(name, 'alone.lzh:alone.cnf');
    assertClean(page);
  });
});

describe('chooser', () => {
  const offered = (page) => page.locator('#message-extra [role=option]');

  test('the first entry is selected and Enter opens it; a double click opens another', async () => {
    const page = await still();
    await page.setInputFiles('#open-files', join(work, 'two.lzh'));
    const box = await openBox(page);
    assert.deepEqual([box.title, box.buttons], ['Select CNF File', ['OK', 'Cancel']]);
    assert.deepEqual(await offered(page).allTextContents(), ['b.cnf', 'a.cnf']);
    assert.equal(await offered(page).first().getAttribute('aria-selected'), 'true');
    await page.keyboard.press('Enter');
    assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
    assert.equal(await same(page, 'two.lzh', '--cnf', 'b.cnf'), 0);
    await page.evaluate(() => document.documentElement.setAttribute('data-tavro-state', 'loading'));
    await page.setInputFiles('#open-files', join(work, 'two.lzh'));
    await openBox(page);
    await offered(page).nth(1).dblclick();
    assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
    assert.equal(await same(page, 'two.lzh', '--cnf', 'a.cnf'), 0);
    assertClean(page);
  });

  test('OK opens the selected entry, Cancel and Escape leave the document empty', async () => {
    const page = await still();
    await page.setInputFiles('#open-files', join(work, 'two.lzh'));
    await openBox(page);
    await offered(page).nth(1).click();
    await page.click('#message-ok');
    assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
    assert.equal(await same(page, 'two.lzh', '--cnf', 'a.cnf'), 0);
    for (const close of [() => page.click('#message-cancel'), () => page.keyboard.press('Escape')]) {
      await page.evaluate(() => document.documentElement.setAttribute('data-tavro-state', 'loading'));
      await page.setInputFiles('#open-files', join(work, 'two.lzh'));
      await openBox(page);
      await close();
      assert.equal(await waitForState(page, 'shown', 'failed', 'empty'), 'failed');
      assert.equal(await page.locator('#playfield').isHidden(), true, 'no picture');
      assert.equal(await page.locator('#information').isDisabled(), true, 'nothing to inform about');
    }
    assertClean(page);
  });

  test('a folder holding several configuration files asks the same way', async () => {
    const page = await still();
    await page.setInputFiles('#open-folder', join(work, 'pair'));
    await openBox(page);
    assert.deepEqual(await offered(page).allTextContents(), ['pair/demo.cnf', 'pair/other.cnf']);
    await offered(page).nth(1).dblclick();
    assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
    assert.ok(await same(page, 'pair/demo.cnf') > 0, 'not the first');
    assert.equal(await same(page, 'pair/other.cnf'), 0);
    assertClean(page);
  });
});

describe('failures', () => {
  test('a failed open after a good one leaves the document empty, the canvas and buttons too', async () => {
    const page = await still('/sets/demo/demo.cnf');
    assert.equal(await page.title(), 'demo.cnf - TAVRO32');
    await page.evaluate(() => document.documentElement.setAttribute('data-tavro-state', 'loading'));
    await page.setInputFiles('#open-files', join(work, 'broken.lzh'));
    await openBox(page);
    await page.click('#message-ok');
    assert.equal(await waitForState(page, 'failed'), 'failed');
    assert.equal(await page.locator('#playfield').isHidden(), true, 'no picture');
    assert.equal(await page.locator('#hint').isVisible(), true, 'the hint instead');
    for (const id of ['information', 'report', 'save', 'copy', 'test', 'adjust', 'mode256']) {
      assert.equal(await page.locator(`#${id}`).isDisabled(), true, id);
    }
    // New and Open stay, as in the window.
    assert.equal(await page.locator('#new').isDisabled(), false, 'New');
    assertClean(page);
  });

  test('files chosen before the core has loaded open once it has', async () => {
    const page = await openPage(browser);
    let release;
    const held = new Promise((ok) => { release = ok; });
    await page.route('**/tavro-core.wasm', async (route) => {
      await held;
      await route.continue();
    });
    await page.goto(`${origin}/index.html?clock=still`, {waitUntil: 'domcontentloaded'});
    await page.setInputFiles('#open-files', join(work, 'demo.lzh'));
    await page.waitForTimeout(300);
    release();
    assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
    assert.equal(await same(page, 'demo.lzh'), 0);
    assertClean(page);
  });

  test('picking only the .cnf says once, after the messages, what to pick with it', async () => {
    const page = await still();
    await page.setInputFiles('#open-files', join(work, 'demo', 'demo.cnf'));
    const desktop = rendered('demo/demo.cnf').stderr;  // nothing: beside its files it opens whole
    assert.equal(desktop, '');
    const texts = await closeAll(page);
    const hint = texts.at(-1);
    assert.match(hint, /folder|archive/);
    assert.equal(texts.filter((t) => t === hint).length, 1);
    assert.ok(texts.slice(0, -1).every((t) => /not found|can't load/.test(t)), texts.join('\n'));
    assertClean(page);
  });

  test('an .lha archive opens as an LZH one', async () => {
    const page = await still('/sets/demo.lha');
    assert.equal(await same(page, 'demo.lha'), 0);
    assert.equal(await page.title(), 'DEMO.LHA - TAVRO32');
    assertClean(page);
  });
});

describe('commands', () => {
  test('Zoom In stops at 16, Zoom Out at 1, and the Zoom dialog takes 1 to 31', async () => {
    const page = await still('/sets/demo/demo.cnf');
    assert.equal(await page.locator('#zoomOut').isDisabled(), true);
    for (let i = 1; i < 16; ++i) await page.click('#zoomIn');
    assert.equal(await page.locator('#zoom').textContent(), '16×');
    assert.equal(await page.locator('#zoomIn').isDisabled(), true);
    await page.click('#zoom');
    assert.equal((await openBox(page)).title, 'Zoom');
    for (const [typed, refusal] of [['0', 'Please enter an integer between 1 and 31.'], ['2x', 'Please enter an integer.']]) {
      await page.fill('#zoom-factor', typed);
      await page.click('#message-ok');
      const over = page.locator('dialog.over');
      assert.equal(await over.locator('pre').textContent(), refusal);
      await over.locator('button').click();
      assert.equal(await page.evaluate(() => document.getElementById('message').open), true, 'the dialog stays');
    }
    await page.fill('#zoom-factor', '31');
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => document.getElementById('zoom').textContent === '31×');
    assert.equal(await page.locator('#zoomIn').isDisabled(), true);
    await page.click('#zoom');
    await openBox(page);
    await page.fill('#zoom-factor', '5');
    await page.click('#message-cancel');
    await boxClosed(page);
    await page.waitForTimeout(100);
    assert.equal(await page.locator('#zoom').textContent(), '31×');
    assert.equal((await page.locator('#playfield').boundingBox()).width, 480 * 31);
    assertClean(page);
  });

  test('Test, Transparent 50% and New do what the window\'s do', async () => {
    const page = await still('/sets/demo/demo.cnf');
    await page.click('#test');
    await page.waitForFunction(() => document.querySelector('#sets button:nth-child(3)').getAttribute('aria-pressed') === 'true');
    assert.equal(await same(page, 'demo/demo.cnf', '--set', '2'), 0, 'Test ends on the last set');
    await page.keyboard.press('Digit0');
    await page.click('#transparent');
    assert.equal(await same(page, 'demo/demo.cnf', '--transparent50'), 0);
    await page.click('#new');
    await page.waitForFunction(() => document.title === 'Untitled - TAVRO32');
    assert.equal(await page.locator('#playfield').isHidden(), true);
    assert.equal(await page.locator('#information').isDisabled(), true);
    assertClean(page);
  });

  test('About and Help', async () => {
    const page = await still();
    await page.click('#about');
    const about = await openBox(page);
    assert.deepEqual([about.title, about.buttons], ['TAVRO', ['Ok']]);
    await page.keyboard.press('Escape');
    await boxClosed(page);
    const popup = page.waitForEvent('popup');
    await page.click('#help');
    const guide = await popup;
    await guide.waitForLoadState();
    assert.equal(await guide.title(), 'Tavro user guide');
    assertClean(page);
  });

  test('a long press inspects without pressing; a click beside the picture takes its edge', async () => {
    const page = await still('/sets/edge/demo.cnf', {viewport: {width: 900, height: 700}, hasTouch: true});
    await page.addInitScript(() => {});
    await page.evaluate(() => {
      window.played = 0;
      const play = HTMLMediaElement.prototype.play;
      HTMLMediaElement.prototype.play = function () { ++window.played; return play.call(this).catch(() => {}); };
    });
    const box = await page.locator('#playfield').boundingBox();
    // The picture is fitted to the stage: map pixels are `scale` window pixels.
    const scale = box.width / 480;
    const cdp = await page.context().newCDPSession(page);
    const touch = (type, x, y) => cdp.send('Input.dispatchTouchEvent',
      {type, touchPoints: type === 'touchEnd' ? [] : [{x: box.x + (x + 0.5) * scale, y: box.y + (y + 0.5) * scale}]});
    const before = await canvasPixels(page);
    await touch('touchStart', 420, 60);
    const inspected = await openBox(page);
    assert.equal(inspected.title, 'Object No.3');
    assert.equal(differingPixels(before, await canvasPixels(page)), 0, 'nothing was caught');
    await touch('touchEnd', 420, 60);
    await page.click('#message-ok');
    assert.equal(await page.evaluate(() => window.played), 0, 'nothing was dropped');
    // Beside the picture, level with the hat's brim at the right edge.
    const reference = rendered('edge/demo.cnf').picture;
    const edgeY = [...Array(360).keys()].find((y) => {
      const i = (y * 480 + 479) * 4;
      const j = y * 480 * 4;
      return reference.rgba[i] !== reference.rgba[j] || reference.rgba[i + 1] !== reference.rgba[j + 1];
    });
    assert.ok(edgeY !== undefined);
    await page.mouse.click(box.x + box.width + 60, box.y + (edgeY + 0.5) * scale, {button: 'right'});
    assert.equal((await openBox(page)).title, 'Object No.3');
    assertClean(page);
  });

  test('dragging past the visible edge scrolls along', async () => {
    const page = await still('/sets/demo/demo.cnf', {viewport: {width: 500, height: 400}});
    // From the fit (below 1 here) to 1, then 2; Zoom In is in the menu on so small a window.
    await page.keyboard.press('NumpadAdd');
    await page.keyboard.press('NumpadAdd');
    await page.waitForFunction(() => document.getElementById('zoom').textContent === '2×');
    const scrollLeft = () => page.evaluate(() => document.getElementById('stage').scrollLeft);
    await page.evaluate(() => document.getElementById('stage').scrollTo(400, 0));
    const stage = await page.locator('#stage').boundingBox();
    const box = await page.locator('#playfield').boundingBox();
    // The hat at map (350, 60), zoomed twice.
    const y = box.y + 2 * 60;
    await page.mouse.move(box.x + 2 * 350, y);
    await page.mouse.down();
    for (let x = box.x + 2 * 350; x < stage.x + stage.width + 60; x += 10) await page.mouse.move(x, y);
    const followed = await scrollLeft();
    await page.mouse.up();
    assert.ok(followed > 400, `the view followed (${followed})`);
    assertClean(page);
  });

  test('dropping several files opens each in turn, stepping through its sets', async () => {
    const page = await still();
    await page.evaluate(async (urls) => {
      const transfer = new DataTransfer();
      for (const url of urls) transfer.items.add(new File([await (await fetch(url)).arrayBuffer()], url.split('/').pop()));
      document.getElementById('stage').dispatchEvent(new DragEvent('drop', {dataTransfer: transfer, bubbles: true, cancelable: true}));
    }, ['/sets/two.lzh', '/sets/demo.lzh']);
    // The first asks which of its configurations; the second opens after it, whole.
    await openBox(page);
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => document.title.startsWith('DEMO.LZH'));
    assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
    assert.equal(await same(page, 'demo.lzh', '--set', '2'), 0, 'the last set in use');
    assertClean(page);
  });

  test('a new sound stops the one playing', async () => {
    const page = await still('/sets/demo/demo.cnf');
    await page.evaluate(() => {
      window.sounds = [];
      const play = HTMLMediaElement.prototype.play;
      HTMLMediaElement.prototype.play = function () {
        window.sounds.push({audio: this, othersPlaying: window.sounds.filter((s) => !s.audio.paused).length});
        return play.call(this).catch(() => {});
      };
    });
    const box = await page.locator('#playfield').boundingBox();
    for (let i = 0; i < 2; ++i) {
      await page.mouse.move(box.x + 350, box.y + 60);
      await page.mouse.down();
      await page.mouse.move(box.x + 352, box.y + 62);
      await page.mouse.up();
      await page.waitForFunction((n) => window.sounds.length > n, i);
    }
    assert.deepEqual(await page.evaluate(() => window.sounds.map((s) => s.othersPlaying)), [0, 0]);
    assertClean(page);
  });
});
