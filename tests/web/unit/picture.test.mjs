// Copying a changed area out of the module's memory as the worker hands it to the page: rows that
// lie apart (the map's own, padded and wider than the area) or packed (an area looked up on its
// own) come out packed, four bytes a pixel, in a buffer of their own.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {copyArea} from '../../../web/worker/core-engine.js';

// `bytes` bytes, byte i holding i, at an offset in a larger buffer as a module's view is.
const viewOf = (bytes) => new Uint8Array(4096).map((_, i) => i & 255).subarray(100, 100 + bytes);

test('rows lying apart come out packed, what lies between them left behind', () => {
  // Two pixels of each of three rows 16 bytes apart; the view ends with the last row's pixels.
  const area = {left: 5, top: 7, right: 7, bottom: 10};
  const data = copyArea({area, rowBytes: 16}, viewOf(2 * 16 + 8));
  assert.ok(data instanceof Uint8ClampedArray);
  const row = (start) => Array.from({length: 8}, (_, i) => (100 + start + i) & 255);
  assert.deepEqual([...data], [...row(0), ...row(16), ...row(32)]);
  assert.equal(data.buffer.byteLength, data.length, 'a buffer of its own, to hand over whole');
});

test('packed rows are taken as they are, into a buffer handed back if it holds them', () => {
  const area = {left: 0, top: 0, right: 3, bottom: 2};
  const expected = Array.from({length: 24}, (_, i) => 100 + i);
  assert.deepEqual([...copyArea({area, rowBytes: 12}, viewOf(24))], expected);
  const spare = new ArrayBuffer(40);
  const into = copyArea({area, rowBytes: 12}, viewOf(24), spare);
  assert.equal(into.buffer, spare);
  assert.deepEqual([...into], expected);
  // One too small is left alone.
  assert.notEqual(copyArea({area, rowBytes: 12}, viewOf(24), new ArrayBuffer(20)).buffer.byteLength, 20);
});

test('an empty area gives an empty picture', () => {
  assert.equal(copyArea({area: {left: 2, top: 2, right: 2, bottom: 5}, rowBytes: 0}, viewOf(0)).length, 0);
});
