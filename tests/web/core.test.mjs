// The WebAssembly core under Node, without a browser: the same set gives the same picture as
// the native tavro-render, names stay bytes through the in-memory file system, and the session's
// calls (sets, drags, save) behave as on the desktop.
import assert from 'node:assert/strict';
import {createRequire} from 'node:module';
import {mkdirSync, readdirSync, readFileSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {before, test} from 'node:test';
import {japaneseDemo, lzhArchive, messagesDemo, zipArchive} from './fixtures.mjs';
import {demoDir, differingPixels, rendered, webDir, work} from './harness.mjs';
import {copyArea} from '../../web/worker/core-engine.js';

let core;
let folders = 0;
const bytes = (s) => Uint8Array.from(Buffer.from(s, 'latin1'));

before(async () => {
  // The loader would fetch the module with Node's fetch, which takes no file paths.
  delete globalThis.fetch;
  const TavroCore = createRequire(import.meta.url)(join(webDir, 'tavro-core.js'));
  core = await TavroCore();
  writeFileSync(join(work, 'core-japanese.lzh'), lzhArchive(japaneseDemo(demoDir)));
  writeFileSync(join(work, 'core-japanese.zip'), zipArchive(japaneseDemo(demoDir)));
});

// Writes `files` ([name bytes, data]) into a new folder of the in-memory file system.
function folderWith(files) {
  const folder = `/t${++folders}`;
  core.FS.mkdir(folder);
  for (const [name, data] of files) core.FS.writeFile(`${folder}/${Buffer.from(name).toString('latin1')}`, data);
  return folder;
}

// The whole picture as the page's canvas would hold it: a change of colour mode and back makes
// the core give all of it again.
function picture(session) {
  const trueColour = session.states().trueColour;
  session.takePicture();
  if (trueColour) session.colourMode256();
  else session.colourModeTrue();
  session.takePicture();
  if (trueColour) session.colourModeTrue();
  else session.colourMode256();
  const taken = session.takePicture();
  const {width, height} = taken;
  assert.deepEqual(taken.area, {left: 0, top: 0, right: width, bottom: height});
  return {width, height, rgba: Buffer.from(copyArea(taken, session.pixels()))};
}

const demoFiles = () => readdirSync(demoDir).map((f) => [Buffer.from(f), readFileSync(join(demoDir, f))]);

// Opens as the page does: the load's messages first, then the set starts.
function openSet(session, path) {
  const result = session.open(bytes(path), false, new Uint8Array());
  session.startSet();
  return result;
}

test('the demo set composes as natively, in every set and after a colour mode change', () => {
  const session = new core.Session();
  const folder = folderWith(demoFiles());
  const result = openSet(session, `${folder}/demo.cnf`);
  assert.equal(result.opened, true);
  assert.equal(differingPixels(picture(session), rendered(join(demoDir, 'demo.cnf')).picture), 0);
  session.selectSet(2);
  assert.equal(differingPixels(picture(session), rendered(join(demoDir, 'demo.cnf'), '--set', '2').picture), 0);
  session.colourMode256();
  assert.equal(differingPixels(picture(session),
    rendered(join(demoDir, 'demo.cnf'), '--set', '2', '--mode', '256').picture), 0);
  session.delete();
});

test('Shift_JIS member names, one with a 0x5C second byte, are found in LZH and ZIP', () => {
  for (const archive of ['core-japanese.lzh', 'core-japanese.zip']) {
    const session = new core.Session();
    const folder = folderWith([[Buffer.from(archive), readFileSync(join(work, archive))]]);
    const result = openSet(session, `${folder}/${archive}`);
    assert.equal(result.opened, true, archive);
    assert.deepEqual(result.messages, [], archive);
    assert.equal(session.loadReport().length, 0, archive);
    assert.equal(differingPixels(picture(session), rendered(archive).picture), 0, archive);
    // The extracted files keep their bytes: a ZIP's 0x5C stays part of the name.
    const names = core.FS.readdir('/tmp').filter((n) => !n.startsWith('.'))
      .flatMap((d) => core.FS.readdir(`/tmp/${d}`));
    assert.ok(names.includes('\x95\x5c.cel'), `${archive}: ${names.join(' ')}`);
    assert.ok(names.includes('\x91\xcc.cel'), archive);
    session.delete();
  }
});

test('a drag, then a save, then a new open shows the moved object where it was left', () => {
  const session = new core.Session();
  const folder = folderWith(demoFiles());
  openSet(session, `${folder}/demo.cnf`);
  const before = picture(session);
  session.press(350, 60);
  assert.equal(session.holdsObject(), true);
  session.move(300, 120);
  session.release();
  const moved = picture(session);
  assert.ok(differingPixels(before, moved) > 100);
  assert.equal(session.states().canSave, true);
  assert.equal(session.save(bytes(`${folder}/demo.cnf`)).saved, true);
  const again = new core.Session();
  openSet(again, `${folder}/demo.cnf`);
  assert.equal(differingPixels(picture(again), moved), 0);
  session.delete();
  again.delete();
});

test('alarms: a timer pass is due, runs and changes the picture', () => {
  const session = new core.Session();
  const folder = folderWith(demoFiles());
  openSet(session, `${folder}/demo.cnf`);
  const before = picture(session);
  const start = session.tickCount();
  const delay = session.nextTimerPassDelay(start);
  assert.ok(delay >= 0 && delay <= 3000, `delay ${delay}`);
  let changed = 0;
  // Run the passes a clock would, up to ten seconds on.
  for (let t = start; t < start + 10000 && !changed; t += 10) {
    if (session.nextTimerPassDelay(t) === 0) session.runTimerPass(t);
    changed = differingPixels(before, picture(session));
  }
  assert.ok(changed > 0);
  session.delete();
});

test('the open returns the load\'s messages; the set\'s first scripts run only once it starts', () => {
  const session = new core.Session();
  const files = messagesDemo(demoDir);
  mkdirSync(join(work, 'core-messages'));
  for (const [name, data] of files) writeFileSync(join(work, 'core-messages', name.toString()), data);
  const folder = folderWith(files);
  const result = session.open(bytes(`${folder}/demo.cnf`), false, new Uint8Array());
  const latin1 = (list) => list.map((m) => Buffer.from(m).toString('latin1'));
  assert.deepEqual(latin1(result.messages), ['palette file (lost.kcf) is not found',
    'can\'t load cell file and ignored']);
  assert.deepEqual(session.takeDebugTexts(), []);
  assert.equal(session.takePicture().width, 0, 'nothing is drawn before the set starts');
  assert.equal(session.startSet().newSet, true);
  assert.deepEqual(latin1(session.takeDebugTexts()), ['from initialize', 'from begin']);
  assert.equal(differingPixels(picture(session), rendered('core-messages/demo.cnf').picture), 0);
  session.delete();
});

test('the page\'s hooks: a clock it stands still, "debug(" texts while the script waits, an open\'s progress and its Cancel, a tab-sized unpack limit', () => {
  const session = new core.Session();
  const files = messagesDemo(demoDir);
  const folder = folderWith(files);
  let clock = 5000;
  const shown = [];
  const steps = [];
  core.tavroNow = () => clock;
  // The script is still inside "initialize(" when its text arrives: the set has not started.
  core.tavroDebugText = (text) => shown.push([Buffer.from(text).toString('latin1'), session.tickCount()]);
  core.tavroProgress = (phase, count, total) => steps.push(phase);
  try {
    assert.equal(session.tickCount(), 5000);
    session.open(bytes(`${folder}/demo.cnf`), false, new Uint8Array());
    assert.ok(steps.includes('cels'), 'the cels were counted');
    clock = 6000;
    session.startSet();
    assert.deepEqual(shown, [['from initialize', 6000], ['from begin', 6000]]);
    assert.deepEqual(session.takeDebugTexts(), [], 'none queued while the page takes them');

    const archive = `${folderWith([[Buffer.from('set.lzh'), lzhArchive(japaneseDemo(demoDir))]])}/set.lzh`;
    core.tavroOpenCancelled = () => steps.length > 0;
    steps.length = 0;
    const cancelled = session.open(bytes(archive), false, new Uint8Array());
    assert.equal(cancelled.cancelled, true);
    assert.deepEqual(steps, ['unpack'], 'cancelled at the first member');
    assert.equal(Buffer.from(session.extractedFolder()).length, 0, 'nothing left unpacked');
    delete core.tavroOpenCancelled;

    session.setUnpackLimit(1024);
    const refused = session.open(bytes(archive), false, new Uint8Array());
    assert.equal(refused.opened, false);
    assert.match(Buffer.from(refused.messages[0]).toString('latin1'), /too large \(more than 1 KiB unpacked\)/);
    session.setUnpackLimit(2 ** 30);
    assert.equal(openSet(session, archive).opened, true);
    assert.match(Buffer.from(session.extractedFolder()).toString('latin1'), /^\/tmp\//);
  } finally {
    for (const hook of ['tavroNow', 'tavroDebugText', 'tavroProgress', 'tavroOpenCancelled']) delete core[hook];
    session.delete();
  }
});

// The rules of placing (the edge, objects not shown, a held one) are the session's, tested natively.
test('a scene\'s objects put back where a drag left them, with no event and nothing else moved', () => {
  // The demo's hat chimes when it is dropped.
  const files = demoFiles();
  const dragged = new core.Session();
  openSet(dragged, `${folderWith(files)}/demo.cnf`);
  const start = dragged.objectPositions();
  assert.ok(start.length > 5 && start.every(([n, x, y]) => [n, x, y].every(Number.isInteger)));
  dragged.press(350, 60);
  dragged.move(300, 120);
  dragged.release();
  assert.equal(dragged.takeSounds().length, 1, 'the drag ran its drop');
  const moved = dragged.objectPositions().filter(([n, x, y], i) => start[i][1] !== x || start[i][2] !== y);
  assert.deepEqual(moved.map(([n]) => n), [3]);

  const placed = new core.Session();
  openSet(placed, `${folderWith(files)}/demo.cnf`);
  const before = picture(placed);
  // Objects not in the shown set (12 is only in set 2) or not there at all stay as they are.
  for (const [n, x, y] of [[12, 5, 5], [9999, 1, 1], [-1, 0, 0]]) {
    const change = placed.placeObject(n, x, y);
    assert.equal(change.repaint.right - change.repaint.left, 0, `object ${n}`);
  }
  assert.equal(differingPixels(picture(placed), before), 0);
  const change = placed.placeObject(...moved[0]);
  assert.ok(change.repaint.right > change.repaint.left, 'the old and new places are repainted');
  assert.deepEqual(placed.takeSounds(), [], 'no drop, no event');
  assert.equal(differingPixels(picture(placed), picture(dragged)), 0);
  assert.deepEqual(placed.objectPositions(), dragged.objectPositions());

  dragged.delete();
  placed.delete();
});

// The shelf keeps a small picture of each set and hands the set out as a ZIP of its files.
test('the shelf\'s calls: the picture in small, the set\'s folder as a ZIP, the picture\'s changes left alone', () => {
  const idle = new core.Session();
  const none = idle.thumbnail(128);
  assert.deepEqual([none.width, none.height, none.pixels.length], [0, 0, 0], 'nothing loaded');
  const refused = idle.exportSet(bytes('/tmp/nothing.zip'));
  assert.equal(refused.written, false);
  assert.ok(refused.error.length > 0);
  assert.equal(core.FS.analyzePath('/tmp/nothing.zip').exists, false);
  idle.delete();

  const files = demoFiles();
  const [asked, plain] = [new core.Session(), new core.Session()];
  for (const session of [asked, plain]) openSet(session, `${folderWith(files)}/demo.cnf`);
  const whole = picture(asked);
  const small = asked.thumbnail(128);
  assert.equal(Math.max(small.width, small.height), 128);
  assert.ok(Math.abs(small.width / small.height - whole.width / whole.height) < 0.02);
  assert.equal(small.pixels.length, small.width * small.height * 4);
  assert.ok(small.pixels.some((byte) => byte !== 0));
  const mean = (rgba, c) => rgba.reduce((sum, byte, i) => (i % 4 === c ? sum + byte : sum), 0) / (rgba.length / 4);
  for (let c = 0; c < 4; ++c) assert.ok(Math.abs(mean(small.pixels, c) - mean(whole.rgba, c)) < 1.5, `channel ${c}`);
  const full = asked.thumbnail(5000);
  assert.deepEqual([full.width, full.height], [whole.width, whole.height], 'never enlarged');
  assert.equal(Buffer.compare(Buffer.from(full.pixels), whole.rgba), 0);

  // A drag's change waits for the next takePicture whether or not a thumbnail came between.
  for (const session of [asked, plain]) {
    session.takePicture();
    session.press(350, 60);
    session.move(300, 120);
    session.release();
  }
  asked.thumbnail(64);
  const [a, b] = [asked.takePicture(), plain.takePicture()];
  assert.ok(a.area.right > a.area.left);
  assert.deepEqual(a, b);
  assert.equal(Buffer.compare(Buffer.from(asked.pixels()), Buffer.from(plain.pixels())), 0);

  const exported = asked.exportSet(bytes('/tmp/x.zip'));
  assert.equal(exported.written, true, Buffer.from(exported.error).toString('latin1'));
  assert.equal(exported.error.length, 0);
  const zip = Buffer.from(core.FS.readFile('/tmp/x.zip'));
  assert.equal(zip.subarray(0, 4).toString('latin1'), 'PK\x03\x04');
  assert.ok(zip.includes(Buffer.from('demo.cnf')));
  asked.delete();
  plain.delete();
});
