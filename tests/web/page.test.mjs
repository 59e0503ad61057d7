// The page in headless chromium: it opens sets by link, picker and drop, draws exactly what
// tavro-render draws, plays (keys, drags, alarms) and reports failures as the desktop does.
import assert from 'node:assert/strict';
import {copyFileSync, mkdirSync, readdirSync, readFileSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {after, before, test} from 'node:test';
import {japaneseDemo, lzhArchive, plainDemo, writeTroubledSets, zipArchive} from './fixtures.mjs';
import {
  canvasPixels, demoDir, differingPixels, freshPage, openPage, rendered, serveAndLaunch, sharedContext,
  waitForState, work,
} from './harness.mjs';

let shared;
let browser;
let origin;
/** The context of the tests that take the page as it comes: each test's page is alone in it. */
let plain;

before(async () => {
  mkdirSync(join(work, 'demo'));
  for (const f of readdirSync(demoDir)) copyFileSync(join(demoDir, f), join(work, 'demo', f));
  writeFileSync(join(work, 'japanese.lzh'), lzhArchive(japaneseDemo(demoDir)));
  writeFileSync(join(work, 'japanese.zip'), zipArchive(japaneseDemo(demoDir)));
  writeFileSync(join(work, 'demo.lzh'), lzhArchive(plainDemo(demoDir)));
  // A configuration alone, naming the demo's files: it opens whole only beside them.
  writeFileSync(join(work, 'alone.lzh'), lzhArchive([[Buffer.from('alone.cnf'), readFileSync(join(demoDir, 'demo.cnf'))]]));
  // The demo set with a "debug(" box at its start, before its alarms are armed.
  mkdirSync(join(work, 'debug'));
  for (const f of readdirSync(demoDir)) copyFileSync(join(demoDir, f), join(work, 'debug', f));
  const script = readFileSync(join(demoDir, 'demo.cnf'), 'latin1')
    .replace(';@initialize() ', ';@initialize() debug("hold on") ');
  writeFileSync(join(work, 'debug', 'demo.cnf'), script, 'latin1');
  // The demo set with a "debug(" box in the middle of its start: its alarms are armed before the
  // box, and the smile is put on only after it. Its first blink, which opens a box too, comes
  // after a second rather than 2.5.
  mkdirSync(join(work, 'waiting'));
  for (const f of readdirSync(demoDir)) copyFileSync(join(demoDir, f), join(work, 'waiting', f));
  writeFileSync(join(work, 'waiting', 'demo.cnf'), readFileSync(join(demoDir, 'demo.cnf'), 'latin1')
    .replace('timer(1,2500) timer(3,600)\n', 'timer(1,1000) timer(3,600) debug("hold on") map("smile.cel")\n')
    .replace(';@alarm(1) ', ';@alarm(1) debug("blink") '), 'latin1');
  writeTroubledSets(work, demoDir);
  // The doll alone, in three files: an open of a few steps where each step is slowed.
  writeFileSync(join(work, 'doll.zip'), zipArchive([
    [Buffer.from('doll.cnf'), Buffer.from('(480,360)\n%body.kcf\n#0 body.cel :0\n$0 71,117\n')],
    ...['body.kcf', 'body.cel'].map((f) => [Buffer.from(f), readFileSync(join(demoDir, f))])]));
  shared = await serveAndLaunch();
  ({browser, origin} = shared);
  plain = await sharedContext(browser);
});

after(() => shared?.stop());

// A page whose clock stands still unless `playing`: its alarms wait, so that its pictures can be
// compared with tavro-render's, which shows a set as it opens. The core's clock is in the page's
// worker, so the page is asked for it (`?clock=still`); `address` gives the page's URL with it.
// In a context of its own when `options` asks for one.
async function blankPage(options = {}, playing = false) {
  const page = await freshPage(browser, plain, options);
  page.still = !playing;
  return page;
}

function address(page, query = '') {
  const params = [page.still ? 'clock=still' : '', query].filter(Boolean).join('&');
  return `${origin}/index.html${params ? `?${params}` : ''}`;
}

async function opened(link, playing = false) {
  const page = await blankPage({}, playing);
  await page.goto(address(page, `open=${encodeURIComponent(link)}`));
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  return page;
}

function assertClean(page) {
  assert.deepEqual(page.problems, []);
}

// From the next page load on, each box is noted as it opens: its text, whether it has the
// exclamation sign, the page's state and whether the picture is drawn.
const watchBoxes = (page) => page.addInitScript(() => {
  window.boxesShown = [];
  const showModal = HTMLDialogElement.prototype.showModal;
  HTMLDialogElement.prototype.showModal = function () {
    window.boxesShown.push([document.getElementById('message-text').textContent,
      this.classList.contains('exclamation'), document.documentElement.dataset.tavroState,
      !document.getElementById('playfield').hidden]);
    return showModal.call(this);
  };
});

// Closes the boxes from the `from`th one noted as they open, `count` of them, and returns those.
async function closeBoxes(page, from, count) {
  for (let n = from; n < from + count; ++n) {
    await page.waitForFunction((k) => window.boxesShown.length > k && document.getElementById('message').open, n);
    await page.click('#message-ok');
  }
  return page.evaluate(([a, b]) => window.boxesShown.slice(a, b), [from, from + count]);
}

test('the demo set by link draws what tavro-render draws, and keys 1 and 2 switch sets', async () => {
  const page = await opened('/sets/demo/demo.cnf');
  const reference = rendered('demo/demo.cnf');
  assert.equal(differingPixels(await canvasPixels(page), reference.picture), 0);
  for (const set of ['1', '2']) {
    await page.keyboard.press(set);
    assert.equal(differingPixels(await canvasPixels(page), rendered('demo/demo.cnf', '--set', set).picture), 0,
      `set ${set}`);
  }
  // Either colour mode reaches the canvas as tavro-render writes it.
  for (const [call, mode] of [['colourMode256', '256'], ['colourModeTrue', 'true']]) {
    await page.evaluate((name) => window.tavro.client.call(name), call);
    assert.equal(differingPixels(await canvasPixels(page), rendered('demo/demo.cnf', '--set', '2', '--mode', mode).picture), 0,
      `${mode} colours`);
  }
  assertClean(page);
});

test('Japanese-named sets in LZH and CP932 ZIP archives open by link', async () => {
  for (const archive of ['japanese.lzh', 'japanese.zip']) {
    const page = await opened(`/sets/${archive}`);
    const reference = rendered(archive);
    assert.equal(reference.status, 0, reference.stderr);
    assert.equal(differingPixels(await canvasPixels(page), reference.picture), 0, archive);
    assertClean(page);
  }
});

test('the file picker opens a .cnf with its files and an archive', async () => {
  const page = await blankPage();
  await page.goto(address(page));
  assert.equal(await waitForState(page, 'empty'), 'empty');
  await page.setInputFiles('#open-files', readdirSync(join(work, 'demo')).map((f) => join(work, 'demo', f)));
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  assert.equal(differingPixels(await canvasPixels(page), rendered('demo/demo.cnf').picture), 0);
  await page.evaluate(() => document.documentElement.setAttribute('data-tavro-state', 'loading'));
  await page.setInputFiles('#open-files', join(work, 'japanese.zip'));
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  assert.equal(differingPixels(await canvasPixels(page), rendered('japanese.zip').picture), 0);
  assertClean(page);
});

test('a dropped archive opens', async () => {
  const page = await blankPage();
  await page.goto(address(page));
  await waitForState(page, 'empty');
  await page.evaluate(async (url) => {
    const bytes = await (await fetch(url)).arrayBuffer();
    const transfer = new DataTransfer();
    transfer.items.add(new File([bytes], 'japanese.lzh'));
    document.getElementById('stage').dispatchEvent(new DragEvent('drop', {dataTransfer: transfer, bubbles: true, cancelable: true}));
  }, '/sets/japanese.lzh');
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  assert.equal(differingPixels(await canvasPixels(page), rendered('japanese.lzh').picture), 0);
  assertClean(page);
});

test('an archive dropped or picked with Shift joins the open archive\'s files', async () => {
  const page = await blankPage();
  await watchBoxes(page);
  await page.goto(address(page, `open=/sets/demo.lzh`));
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  const drop = (shiftKey) => page.evaluate(async ([url, shift]) => {
    document.documentElement.setAttribute('data-tavro-state', 'loading');
    const transfer = new DataTransfer();
    transfer.items.add(new File([await (await fetch(url)).arrayBuffer()], 'alone.lzh'));
    document.getElementById('stage').dispatchEvent(new DragEvent('drop',
      {dataTransfer: transfer, shiftKey: shift, bubbles: true, cancelable: true}));
  }, ['/sets/alone.lzh', shiftKey]);
  // Both archives' configurations are offered, as the window offers them.
  const choose = async (name) => {
    const offered = page.locator('#message-extra [role=option]');
    await offered.first().waitFor();
    assert.deepEqual((await offered.allTextContents()).sort(), ['alone.cnf', 'demo.cnf']);
    await offered.filter({hasText: name}).dblclick();
  };
  await drop(true);
  await choose('alone.cnf');
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  assert.equal(await page.evaluate(() => document.getElementById('message').open), false);
  assert.equal(differingPixels(await canvasPixels(page), rendered('demo.lzh').picture), 0);
  // Without Shift the archive stands alone, and its palettes and cels are missing: the desktop's
  // messages, and the set shown once they are closed.
  const seen = await page.evaluate(() => window.boxesShown.length);
  await drop(false);
  assert.deepEqual((await closeBoxes(page, seen, 3)).map((b) => b[0]),
    rendered('alone.lzh').stderr.trim().split('\n'));
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  // The picker's Shift is the one held for the click that opened it.
  await page.evaluate(() => document.documentElement.setAttribute('data-tavro-state', 'loading'));
  await page.goto(address(page, `open=/sets/demo.lzh`));
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  const chooser = page.waitForEvent('filechooser');
  await page.click('#open', {modifiers: ['Shift']});
  await (await chooser).setFiles(join(work, 'alone.lzh'));
  await choose('alone.cnf');
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  assert.equal(await page.evaluate(() => document.getElementById('message').open), false);
  assertClean(page);
});

test('the load\'s messages come before the set starts, then its "debug(" boxes, in the desktop\'s order', async () => {
  const page = await blankPage();
  await watchBoxes(page);
  await page.goto(address(page));
  await waitForState(page, 'empty');
  await page.setInputFiles('#open-files', readdirSync(join(work, 'messages')).map((f) => join(work, 'messages', f)));
  const desktop = rendered('messages/demo.cnf');
  // The load's messages show over nothing, before the set starts, and so do its start's boxes:
  // the picture comes once the start is over.
  assert.deepEqual(await closeBoxes(page, 0, 4), [
    ['palette file (lost.kcf) is not found', true, 'loading', false],
    ['can\'t load cell file and ignored', true, 'loading', false],
    ['from initialize', true, 'loading', false], ['from begin', true, 'loading', false]]);
  assert.equal(desktop.stderr, 'palette file (lost.kcf) is not found\ncan\'t load cell file and ignored\n' +
    'from initialize\nfrom begin\n');
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  assert.equal(differingPixels(await canvasPixels(page), desktop.picture), 0);
  assertClean(page);
});

test('a drag moves an object and an alarm animates', async () => {
  const page = await opened('/sets/demo.lzh', true);
  const before = await canvasPixels(page);
  // The straw hat of set 0 covers (350, 60).
  const box = await page.locator('#playfield').boundingBox();
  await page.mouse.move(box.x + 350, box.y + 60);
  await page.mouse.down();
  assert.ok(await page.evaluate(() => window.tavro.client.call('holdsObject')), 'an object is held');
  await page.mouse.move(box.x + 300, box.y + 120, {steps: 5});
  await page.mouse.up();
  const moved = await canvasPixels(page);
  assert.ok(differingPixels(before, moved) > 100, 'the hat moved');
  // The eyes blink within three seconds.
  const start = Date.now();
  let changed = 0;
  while (!changed && Date.now() - start < 4000) {
    await page.waitForTimeout(200);
    changed = differingPixels(moved, await canvasPixels(page));
  }
  assert.ok(changed > 0, 'the alarm changed the picture');
  assertClean(page);
});

test('a fixed object pulled too far is let go, and the capture with it, until the keys free it', async () => {
  const page = await opened('/sets/demo/demo.cnf');
  const before = await canvasPixels(page);
  const box = await page.locator('#playfield').boundingBox();
  // The capture is asked after the core: its answer comes after that of every call before it.
  const held = () => page.evaluate(async () => [await window.tavro.client.call('holdsObject'),
    document.getElementById('playfield').hasPointerCapture(window.pointer)]);
  await page.evaluate(() => document.getElementById('playfield')
    .addEventListener('pointerdown', (e) => { window.pointer = e.pointerId; }));
  // Her face belongs to the fixed object 0, which gives nothing while its fix is fresh; Shift
  // breaks the sequence that would lift fixing.
  await page.keyboard.type('zor');
  await page.keyboard.press('Shift');
  await page.keyboard.type('ve');
  await page.mouse.move(box.x + 110, box.y + 80);
  await page.mouse.down();
  await page.mouse.move(box.x + 110, box.y + 95, {steps: 3});
  assert.deepEqual(await held(), [false, false]);
  await page.mouse.up();
  assert.equal(differingPixels(before, await canvasPixels(page)), 0, 'sprung back');
  await page.mouse.move(box.x + 350, box.y + 60);
  await page.mouse.down();
  await page.mouse.move(box.x + 300, box.y + 120, {steps: 3});
  assert.deepEqual(await held(), [true, true]);
  await page.evaluate(() => window.dispatchEvent(new Event('blur')));
  assert.deepEqual(await held(), [false, false]);
  await page.mouse.up();
  assert.ok(differingPixels(before, await canvasPixels(page)) > 100, 'the hat stays where it was let go');
  await page.keyboard.type('zorve');
  await page.mouse.move(box.x + 110, box.y + 80);
  await page.mouse.down();
  await page.mouse.move(box.x + 110, box.y + 95, {steps: 3});
  assert.deepEqual(await held(), [true, true], 'the face drags freely');
  await page.mouse.up();
  assertClean(page);
});

test('a broken archive fails with the desktop message', async () => {
  const page = await openPage(browser);
  await page.goto(address(page, `open=/sets/broken.lzh`));
  assert.equal(await waitForState(page, 'shown', 'failed'), 'failed');
  const shown = await page.locator('#message-text').textContent();
  const desktop = rendered('broken.lzh');
  assert.notEqual(desktop.status, 0);
  assert.equal(shown, desktop.stderr.trim());
  assertClean(page);
});

test('on a phone-sized screen the page fits and a finger drags', async () => {
  const page = await openPage(browser, {viewport: {width: 390, height: 844}, hasTouch: true, isMobile: true});
  await page.goto(address(page, `open=/sets/demo.lzh`));
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  // Nothing scrolls sideways.
  const overflow = await page.evaluate(() => document.getElementById('toolbar').scrollWidth - innerWidth);
  assert.ok(overflow <= 0, `toolbar wider than the screen by ${overflow}`);
  await page.screenshot({path: `${work}/phone.png`});
  const before = await canvasPixels(page);
  const box = await page.locator('#playfield').boundingBox();
  // Fitted to the screen: (x, y) are map pixels, `scale` window pixels each.
  const scale = box.width / 480;
  const cdp = await page.context().newCDPSession(page);
  const touch = (type, x, y) => cdp.send('Input.dispatchTouchEvent',
    {type, touchPoints: type === 'touchEnd' ? [] : [{x: box.x + x * scale, y: box.y + y * scale}]});
  await touch('touchStart', 350, 60);
  for (let i = 1; i <= 5; ++i) await touch('touchMove', 350 - i * 6, 60 + i * 14);
  await touch('touchEnd', 300, 120);
  assert.ok(differingPixels(before, await canvasPixels(page)) > 100, 'the hat moved');
  assertClean(page);
});

test('after one visit the page opens a set with the network off', async () => {
  // A first visit, whose service worker is the one that answers offline.
  const page = await blankPage({serviceWorkers: 'allow'});
  await page.goto(address(page));
  await waitForState(page, 'empty');
  await page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    if (!navigator.serviceWorker.controller) {
      await new Promise((ok) => navigator.serviceWorker.addEventListener('controllerchange', ok, {once: true}));
    }
  });
  await page.context().setOffline(true);
  await page.reload();
  assert.equal(await waitForState(page, 'empty'), 'empty');
  await page.setInputFiles('#open-files', join(work, 'japanese.lzh'));
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  assert.equal(differingPixels(await canvasPixels(page), rendered('japanese.lzh').picture), 0);
  await page.context().setOffline(false);
  assertClean(page);
});

test('save, record, information and the load report', async () => {
  const page = await opened('/sets/demo/demo.cnf');
  const box = await page.locator('#playfield').boundingBox();
  await page.mouse.move(box.x + 350, box.y + 60);
  await page.mouse.down();
  await page.mouse.move(box.x + 250, box.y + 100, {steps: 3});
  await page.mouse.up();
  // Save gives the rewritten configuration, with the hat's new position in set 0.
  let download = page.waitForEvent('download');
  await page.click('#save');
  const saved = readFileSync(await (await download).path(), 'latin1');
  assert.match(saved, /^\$0 /m);
  assert.notEqual(saved, readFileSync(join(demoDir, 'demo.cnf'), 'latin1'));
  // Five seconds of GIF.
  download = page.waitForEvent('download');
  await page.click('#record');
  await page.click('#message-extra button[value="0"]');
  const gif = readFileSync(await (await download).path());
  assert.equal(gif.subarray(0, 6).toString('latin1'), 'GIF89a');
  assert.equal(await page.evaluate(() => document.getElementById('message').open), false);
  // The page asks the core first: the box opens on its answer.
  const boxOpens = () => page.waitForFunction(() => document.getElementById('message').open);
  await page.click('#information');
  await boxOpens();
  assert.match(await page.locator('#message-text').textContent(), /\S/);
  await page.click('#message-ok');
  await page.click('#report');
  await boxOpens();
  assert.equal(await page.locator('#message-title').textContent(), 'Load Report');
  await page.screenshot({path: `${work}/report.png`});
  await page.click('#message-close');
  assertClean(page);
});

test('a "debug(" box stops its script until it is closed, while the alarms go on', async () => {
  // The set is not shown until its start is over, and that waits for the box.
  const waiting = async (playing) => {
    const page = await blankPage({}, playing);
    await page.goto(address(page, 'open=/sets/waiting/demo.cnf'));
    await page.locator('#message').waitFor({state: 'visible'});
    assert.equal(await page.evaluate(() => document.documentElement.dataset.tavroState), 'loading');
    return page;
  };
  const page = await waiting(false);
  const box = page.locator('#message');
  assert.equal(await page.locator('#message-text').textContent(), 'hold on');
  assert.ok(await box.evaluate((b) => b.open && b.classList.contains('exclamation')));
  // The core composes the picture once the start is over: under the box there is none yet, and
  // then it has the smile the script put on after the box.
  assert.ok(await page.locator('#playfield').evaluate((c) => c.hidden));
  const done = rendered('waiting/demo.cnf').picture;
  await page.click('#message-ok');
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  assert.equal(differingPixels(await canvasPixels(page), done), 0);
  assertClean(page);

  // On a running clock the bubble, moving every 600 ms, moves behind the box the blink's alarm
  // opens.
  const playing = await waiting(true);
  await playing.click('#message-ok');
  await playing.waitForFunction(() => document.getElementById('message').open &&
    document.getElementById('message-text').textContent === 'blink');
  await playing.screenshot({path: `${work}/debug.png`});
  const held = await canvasPixels(playing);
  let moved = 0;
  for (let waited = 0; waited < 3000 && !moved; waited += 150) {
    await playing.waitForTimeout(150);
    moved = differingPixels(held, await canvasPixels(playing));
  }
  assert.ok(moved > 0, 'an alarm ran behind the box');
  assert.ok(await playing.locator('#message').evaluate((b) => b.open));
  assertClean(playing);
});

test('a long open shows its progress, Cancel leaves an empty document, and the page never waits', async () => {
  const page = await openPage(browser);
  await page.goto(`${origin}/index.html?clock=still&slow=150`);
  await waitForState(page, 'empty');
  await page.setInputFiles('#open-files', join(work, 'demo.lzh'));
  // A 10 ms interval on the page's thread: the longest wait between two of its runs, from the
  // files' being given on (the driver's handing them over holds the page up itself, as does a
  // screenshot, which `window.pauseWatch` leaves out).
  await page.evaluate(() => {
    window.longestWait = 0;
    let last = performance.now();
    window.pauseWatch = (paused) => { window.paused = paused; last = performance.now(); };
    setInterval(() => {
      const now = performance.now();
      if (!window.paused) window.longestWait = Math.max(window.longestWait, now - last);
      last = now;
    }, 10);
  });
  const progress = page.locator('#progress');
  await progress.waitFor({state: 'visible'});
  const said = await page.locator('#progress-text').textContent();
  assert.match(said, /^(Unpacking the archive: \d+ files|Loading cels: \d+ of \d+)$/);
  await page.evaluate(() => window.pauseWatch(true));
  await page.screenshot({path: `${work}/progress.png`});
  await page.evaluate(() => window.pauseWatch(false));
  await page.waitForTimeout(600);
  assert.notEqual(await page.locator('#progress-text').textContent(), said, 'the progress moves on');
  await page.click('#progress-cancel');
  assert.equal(await waitForState(page, 'empty'), 'empty');
  assert.ok(await page.locator('#playfield').evaluate((c) => c.hidden));
  assert.ok(await page.locator('#information').isDisabled());
  assert.equal(await progress.evaluate((d) => d.open), false);
  const longest = await page.evaluate(() => window.longestWait);
  // An open on the page's thread would hold it for a whole step (150 ms) at least; a busy
  // machine's scheduling alone has held it for 70.
  assert.ok(longest < 120, `the page waited ${longest} ms`);
  // The fresh core opens the next set (a small one: every step of it is slowed as well).
  await page.setInputFiles('#open-files', join(work, 'doll.zip'));
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  const doll = rendered('doll.zip');
  assert.equal(doll.status, 0, doll.stderr);
  assert.equal(differingPixels(await canvasPixels(page), doll.picture), 0);
  assertClean(page);
});

test('a folder opened with write access is saved back into, after the overwrite question', async () => {
  const page = await blankPage();
  await page.goto(address(page));
  await waitForState(page, 'empty');
  // No driver answers the browser's folder picker; the page's private file system gives the same
  // kind of folder, so the picker is made to return one of those.
  await page.evaluate(async (names) => {
    const folder = await (await navigator.storage.getDirectory()).getDirectoryHandle('demo', {create: true});
    for (const name of names) {
      const writable = await (await folder.getFileHandle(name, {create: true})).createWritable();
      await writable.write(await (await fetch(`/sets/demo/${name}`)).arrayBuffer());
      await writable.close();
    }
    window.showDirectoryPicker = async () => folder;
  }, readdirSync(join(work, 'demo')));
  const downloads = [];
  page.on('download', (d) => downloads.push(d));
  await page.click('#folder');
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  const box = await page.locator('#playfield').boundingBox();
  await page.mouse.move(box.x + 350, box.y + 60);
  await page.mouse.down();
  await page.mouse.move(box.x + 250, box.y + 100, {steps: 3});
  await page.mouse.up();
  const inFolder = () => page.evaluate(async () => {
    const folder = await (await navigator.storage.getDirectory()).getDirectoryHandle('demo');
    return (await (await folder.getFileHandle('demo.cnf')).getFile()).text();
  });
  const original = await inFolder();
  await page.click('#save');
  assert.equal(await page.locator('#message-text').textContent(), '上書きしますか？');
  await page.screenshot({path: `${work}/overwrite.png`});
  await page.click('#message-no');
  assert.equal(await inFolder(), original);
  await page.click('#save');
  await page.click('#message-yes');
  let saved = original;
  for (let i = 0; i < 50 && saved === original; ++i) {
    await page.waitForTimeout(100);
    saved = await inFolder();
  }
  assert.notEqual(saved, original);
  assert.match(saved, /^\$0 /m);
  assert.deepEqual(downloads, []);
  assertClean(page);
});
