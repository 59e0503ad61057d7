// Scene links read from anyone's fragment, and downloads held to the page's limit, under Node.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {decodePlaced, encodePlaced, movedObjects, sceneChoice, sceneUrl} from '../../../web/scene-link.js';
import {FetchRefused, linkedName, readBounded} from '../../../web/worker/remote-fetch.js';
import {progressText} from '../../../web/progress.js';

test('scene fragments: what is written reads back; what is hostile reads as nothing', () => {
  const moved = [[3, 120, -4], [12, 0, 32767]];
  assert.equal(encodePlaced(moved), 'p=3.120.-4,12.0.32767');
  assert.deepEqual(decodePlaced(`#${encodePlaced(moved)}`), moved);
  assert.equal(encodePlaced([]), '');
  for (const hostile of ['', '#', '#p=', '#x=1.2.3', '#p=1.2', '#p=a.b.c', '#p=1.2.3.4', '#p=1.99999.0',
    '#p=40000.1.1', '#p=1.-32769.0', '#p=1e3.1.1', '#p=__proto__.1.1', '#p=1.2.3%00', null, undefined, 42]) {
    assert.deepEqual(decodePlaced(/** @type {any} */ (hostile)), [], String(hostile));
  }
  // Good items survive bad neighbours; an object named twice takes its last place.
  assert.deepEqual(decodePlaced('#p=junk,1.2.3,,1.5.6,7.-8.9&q=1'), [[1, 5, 6], [7, -8, 9]]);
  // A fragment long enough to hold up the page is read no further than a set's objects go.
  assert.ok(decodePlaced(`#p=${'1.1.1,'.repeat(100000)}`).length <= 1);
});

test('scene links: the moved objects only, the set and group as digits, the page\'s own query dropped', () => {
  const base = new Map([[1, [10, 10]], [2, [20, 20]], [3, [30, 30]]]);
  assert.deepEqual(movedObjects(base, [[3, 31, 30], [1, 10, 10], [2, 20, 20]]), [[3, 31, 30]]);
  assert.deepEqual(movedObjects(undefined, [[2, 1, 1]]), [[2, 1, 1]], 'no note of the set: all of it');
  const choice = (q) => sceneChoice(new URLSearchParams(q));
  assert.deepEqual(choice('set=1&group=9'), {set: 1, group: 9});
  for (const q of ['set=10&group=-1', 'set=1.5&group=', 'set=%201&group=x', '']) {
    assert.deepEqual(choice(q), {set: null, group: null}, q);
  }
  const url = sceneUrl('http://a.test/tavro/index.html?clock=still&open=x#p=9.9.9',
    'http://b.test/sets/ドール.lzh?v=1&w=2', 2, 1, [[3, 5, 6]]);
  const read = new URL(url);
  assert.equal(read.origin + read.pathname, 'http://a.test/tavro/index.html');
  assert.equal(read.searchParams.get('open'), 'http://b.test/sets/ドール.lzh?v=1&w=2');
  assert.deepEqual([read.searchParams.get('set'), read.searchParams.get('group'), read.hash], ['2', '1', '#p=3.5.6']);
  assert.equal(read.searchParams.has('clock'), false);
  assert.equal(new URL(sceneUrl('http://a.test/', 'http://b.test/s.lzh', 0, 0, [])).hash, '');
});

const stream = (chunks) => new ReadableStream({
  pull(controller) {
    const next = chunks.shift();
    if (next) controller.enqueue(next);
    else controller.close();
  },
});

test('downloads: refused on their stated length unread, stopped once the stream passes the limit', async () => {
  const url = new URL('http://b.test/big.lzh');
  const steps = [];
  const progress = (count, total) => steps.push([count, total]);
  const budget = (limit) => ({limit, left: limit});
  const whole = await readBounded(new Response(stream([Uint8Array.of(1, 2), Uint8Array.of(3)]),
    {headers: {'Content-Length': '3'}}), url, budget(3), progress);
  assert.deepEqual([...whole], [1, 2, 3]);
  assert.deepEqual(steps, [[2, 3], [3, 3]]);

  let pulled = 0;
  const counted = new ReadableStream({pull(c) { ++pulled; c.enqueue(new Uint8Array(4)); }});
  await assert.rejects(readBounded(new Response(counted, {headers: {'Content-Length': String(300 * 1024 * 1024)}}),
    url, budget(256 * 1024 * 1024), progress), (e) => e instanceof FetchRefused && /too large \(300 MiB\).*up to 256 MiB/.test(e.message));
  assert.ok(pulled <= 1, 'nothing read past the stated length');

  // No length given (or a false one): it stops as soon as it passes the limit.
  let sent = 0;
  const endless = new ReadableStream({pull(c) { sent += 1024; c.enqueue(new Uint8Array(1024)); }});
  await assert.rejects(readBounded(new Response(endless), url, budget(10 * 1024), () => {}),
    (e) => e instanceof FetchRefused && /too large to open/.test(e.message));
  assert.ok(sent <= 12 * 1024, `read ${sent}`);
  await assert.rejects(readBounded(new Response(stream([new Uint8Array(8)]), {headers: {'Content-Length': '2'}}),
    url, budget(4), () => {}), FetchRefused);

  // Files read side by side share one budget: together they may not pass it.
  const shared = budget(10);
  const five = () => new Response(stream([new Uint8Array(5)]));
  await readBounded(five(), url, shared, () => {});
  await readBounded(five(), url, shared, () => {});
  assert.equal(shared.left, 0);
  await assert.rejects(readBounded(new Response(stream([new Uint8Array(1)])), url, shared, () => {}),
    (e) => /up to 10 bytes/.test(e.message));
  await assert.rejects(readBounded(new Response('', {headers: {'Content-Length': '1'}}), url, shared, () => {}),
    (e) => /too large \(1 byte\)/.test(e.message));
});

test('a link\'s file name: UTF-8 escapes as text, others (Shift_JIS) as their bytes', () => {
  assert.deepEqual(linkedName(new URL('http://b.test/sets/%E4%BA%BA%E5%BD%A2.cnf')), {path: '人形.cnf'});
  assert.deepEqual(linkedName(new URL('http://b.test/sets/%95%5C.lzh?x=1')), {path: '\x95\x5c.lzh', raw: true});
  assert.deepEqual(linkedName(new URL('http://b.test/')), {path: 'set.cnf'});
});

test('a download\'s progress in the unit its size reads best in, with or without a length told', () => {
  const mib = 1024 * 1024;
  assert.equal(progressText({phase: 'download', count: 1500, total: 30000}), 'Downloading the set: 2 KiB of 30 KiB');
  assert.equal(progressText({phase: 'download', count: 3 * mib, total: 40 * mib}), 'Downloading the set: 3.0 MiB of 40.0 MiB');
  assert.equal(progressText({phase: 'download', count: 900 * 1024, total: 0}), 'Downloading the set: 900 KiB');
  // A site whose length was wrong: never "more of less".
  assert.equal(progressText({phase: 'download', count: 2 * mib, total: mib}), 'Downloading the set: 2.0 MiB of 2.0 MiB');
});
