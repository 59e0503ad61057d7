// The page's core engine (web/worker/core-engine.js) under Node with the WebAssembly core, as
// its worker runs it: what crosses to the page after each call, the files of earlier opens freed,
// the still clock, a script waiting for its box, and the tab's unpack limit.
import assert from 'node:assert/strict';
import {createRequire} from 'node:module';
import {copyFileSync, mkdirSync, readdirSync, readFileSync} from 'node:fs';
import {join} from 'node:path';
import {before, test} from 'node:test';
import {createEngine, kUnpackLimit} from '../../web/worker/core-engine.js';
import {lzhArchive, plainDemo} from './fixtures.mjs';
import {demoDir, differingPixels, rendered, webDir, work} from './harness.mjs';

let TavroCore;

before(() => {
  // The loader would fetch the module with Node's fetch, which takes no file paths.
  delete globalThis.fetch;
  TavroCore = createRequire(import.meta.url)(join(webDir, 'tavro-core.js'));
  // tavro-render's pictures of the same set.
  mkdirSync(join(work, 'demo'));
  for (const f of readdirSync(demoDir)) copyFileSync(join(demoDir, f), join(work, 'demo', f));
});

const bytes = (s) => Uint8Array.from(Buffer.from(s, 'latin1'));
const demoEntries = () => readdirSync(demoDir).map((f) => ({path: `demo/${f}`, data: readFileSync(join(demoDir, f))}));

// An engine whose events are noted; boxes close at once unless `box` says otherwise.
async function engineWith(options = {}, box = () => Promise.resolve()) {
  const events = [];
  const engine = await createEngine(TavroCore, (name, payload, transfer) => {
    events.push({name, payload, transfer});
    return name === 'box' ? box(payload) : undefined;
  }, options);
  return {engine, events, take: () => events.splice(0)};
}

async function openDemo(engine) {
  const written = await engine.writeFiles(demoEntries());
  const result = engine.call('open', [bytes(written.configs[0].path), false, new Uint8Array()]);
  assert.equal(result.opened, true);
  engine.call('startSet', []);
  return written;
}

// The area's rows of a whole picture, as the engine should have sent them.
function areaOf(picture, area) {
  const rows = [];
  for (let y = area.top; y < area.bottom; ++y) {
    rows.push(picture.rgba.subarray((y * picture.width + area.left) * 4, (y * picture.width + area.right) * 4));
  }
  return Buffer.concat(rows);
}

test('each call sends the changed area alone, in a buffer of its own to hand over', async () => {
  const {engine, take} = await engineWith({clock: 'still'});
  await openDemo(engine);
  const reference = rendered('demo/demo.cnf');
  const sent = take().filter((e) => e.name !== 'progress');
  assert.deepEqual(sent.map((e) => e.name), ['changed', 'picture']);
  const [changed, picture] = sent.map((e) => e.payload);
  assert.ok(changed.newSet && changed.states.loaded);
  assert.deepEqual(picture.area, {left: 0, top: 0, right: reference.picture.width, bottom: reference.picture.height});
  assert.equal(sent[1].transfer[0], picture.data.buffer);
  assert.equal(picture.data.buffer.byteLength, picture.data.length);
  assert.equal(differingPixels({...reference.picture, rgba: Buffer.from(picture.data)}, reference.picture), 0);

  // Set 1 as tavro-render draws it, in what its switch repainted.
  engine.call('key', [0x31]);
  const next = take().find((e) => e.name === 'picture').payload;
  assert.deepEqual(Buffer.from(next.data), areaOf(rendered('demo/demo.cnf', '--set', '1').picture, next.area));
  // An alarm moving the bubble changes a part of the picture: only that part crosses.
  engine.advanceClock(600);
  const moved = take().filter((e) => e.name === 'picture').map((e) => e.payload);
  assert.ok(moved.length > 0);
  for (const {area, data} of moved) {
    const w = area.right - area.left;
    const h = area.bottom - area.top;
    assert.ok(w * h > 0 && w * h < picture.width * picture.height / 4, 'a small part of the picture');
    assert.equal(data.length, w * h * 4);
  }

  // Questions send nothing; the calls the engine keeps to itself are refused.
  assert.equal(engine.call('holdsObject', []), false);
  assert.deepEqual(take(), []);
  assert.throws(() => engine.call('takePicture', []), /no such call/);
  assert.throws(() => engine.call('nonsense', []), /no such call/);
});

// Within: is rectangle a inside b?
const inside = (a, b) => a.left >= b.left && a.top >= b.top && a.right <= b.right && a.bottom <= b.bottom;
const union = (a, b) => ({left: Math.min(a.left, b.left), top: Math.min(a.top, b.top),
  right: Math.max(a.right, b.right), bottom: Math.max(a.bottom, b.bottom)});
const shifted = (r, dx, dy) => ({left: r.left + dx, top: r.top + dy, right: r.right + dx, bottom: r.bottom + dy});

test('a drag paints only where the held object was and is, into buffers handed back, and its areas add up to the picture', async () => {
  for (const mode of ['colourModeTrue', 'colourMode256']) {
    const {engine, take} = await engineWith({clock: 'still'});
    await openDemo(engine);
    engine.call(mode, []);
    // The picture as the page's canvas holds it, each area painted where it belongs.
    const canvas = {width: 0, height: 0, rgba: Buffer.alloc(0)};
    const paint = ({width, height, area, data}) => {
      if (width !== canvas.width || height !== canvas.height) Object.assign(canvas, {width, height, rgba: Buffer.alloc(width * height * 4)});
      const row = (area.right - area.left) * 4;
      for (let y = area.top; y < area.bottom; ++y) {
        canvas.rgba.set(data.subarray((y - area.top) * row, (y - area.top + 1) * row), (y * width + area.left) * 4);
      }
    };
    // Drawn, each buffer goes back to the engine, as the page hands it back.
    const spared = new Set();
    const painted = () => take().filter((e) => e.name === 'picture').map((e) => e.payload);
    const drawn = (picture) => {
      paint(picture);
      spared.add(picture.data.buffer);
      engine.spare(picture.data.buffer);
    };
    painted().forEach(drawn);
    // The straw hat covers (350, 60).
    engine.call('press', [350, 60]);
    painted().forEach(drawn);
    let steps = 0;
    for (const [x, y] of [[340, 70], [330, 80], [300, 120], [310, 90], [420, 40]]) {
      const change = engine.call('move', [x, y]);
      assert.ok(change.heldMoved, `${mode}: the hat moved to ${x}, ${y}`);
      const before = shifted(change.objectBox, -change.stepX, -change.stepY);
      for (const picture of painted()) {
        assert.ok(inside(picture.area, union(before, change.objectBox)),
          `${mode}: ${JSON.stringify(picture.area)} beyond the hat's boxes`);
        assert.ok(spared.has(picture.data.buffer), `${mode}: a step copies into a buffer handed back`);
        drawn(picture);
        ++steps;
      }
    }
    assert.ok(steps >= 5, 'each step painted');
    engine.call('release', []);
    painted().forEach(drawn);
    // Out of the mode and back: the whole picture again, which the areas must have made too.
    engine.call(mode === 'colourModeTrue' ? 'colourMode256' : 'colourModeTrue', []);
    take();
    engine.call(mode, []);
    const whole = painted();
    assert.deepEqual(whole.at(-1).area, {left: 0, top: 0, right: canvas.width, bottom: canvas.height});
    assert.equal(Buffer.compare(Buffer.from(whole.at(-1).data), canvas.rgba), 0, `${mode}: the drag's areas made the picture`);
  }
});

test('the files of earlier opens are removed when the next are written', async () => {
  const {engine} = await engineWith({clock: 'still'});
  const first = await openDemo(engine);
  const second = await engine.writeFiles(demoEntries());
  assert.notEqual(second.folder, first.folder);
  assert.throws(() => engine.readFile(first.configs[0].path));
  assert.deepEqual(Buffer.from(engine.readFile(second.configs[0].path)), readFileSync(join(demoDir, 'demo.cnf')));
  // Read once and removed, as a recording's file is.
  engine.readFile(second.configs[0].path, true);
  assert.throws(() => engine.readFile(second.configs[0].path));
});

test('on the still clock alarms run only as the clock is moved, each at the tick it falls due', async () => {
  const {engine, take} = await engineWith({clock: 'still'});
  await openDemo(engine);
  take();
  assert.equal(engine.call('tickCount', []), 0);
  await new Promise((ok) => setTimeout(ok, 700));
  assert.deepEqual(take(), [], 'nothing ran on its own');
  // What is due at once runs when the clock is moved by nothing; then the bubble moves at 600 ms
  // and back at 1200: a pass each time the clock goes past one.
  engine.advanceClock(0);
  assert.equal(engine.call('tickCount', []), 0);
  take();
  engine.advanceClock(1000);
  assert.equal(engine.call('tickCount', []), 1000);
  assert.equal(take().filter((e) => e.name === 'picture').length, 1);
  engine.advanceClock(200);
  assert.equal(take().filter((e) => e.name === 'picture').length, 1);
});

test('a script waits inside "debug(" for its box', async () => {
  const texts = [];
  let engine;
  const waited = await engineWith({clock: 'still', blockingBox: (text) => {
    texts.push(Buffer.from(text).toString());
    // While the script waits, the engine may be asked how long it may wait.
    assert.equal(engine.waitLimit(), -1);
    engine.showSoFar();
  }});
  engine = waited.engine;
  const config = readFileSync(join(demoDir, 'demo.cnf'), 'latin1')
    .replace(';@initialize() ', ';@initialize() debug("first") ') + ';@begin() debug("second")\n';
  const written = await engine.writeFiles([...demoEntries().filter((e) => !e.path.endsWith('demo.cnf')),
    {path: 'demo/demo.cnf', data: Buffer.from(config, 'latin1')}]);
  engine.call('open', [bytes(written.configs[0].path), false, new Uint8Array()]);
  waited.take();
  engine.call('startSet', []);
  assert.deepEqual(texts, ['first', 'second']);
  assert.ok(waited.take().every((e) => e.name !== 'box'), 'no box is queued behind the script');
});

test('an archive may unpack no more than a tab holds', async () => {
  const {engine} = await engineWith({clock: 'still'});
  assert.equal(kUnpackLimit, 256 * 1024 * 1024);
  const written = await engine.writeFiles([{path: 'demo.lzh', data: lzhArchive(plainDemo(demoDir))}]);
  engine.call('setUnpackLimit', [1000]);
  const result = engine.call('open', [bytes(written.archives[0].path), false, new Uint8Array()]);
  assert.equal(result.opened, false);
  assert.match(Buffer.from(result.messages[0]).toString(), /too large/);
});
