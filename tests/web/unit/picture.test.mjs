// Reading a changed area out of the composed map as the worker hands it to the page: rows that
// lie apart in the map (padded, and the area off their start) come out packed, in either mode.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {copyArea} from '../../../web/worker/picture.js';

// A map of `rows` rows, `rowBytes` apart, byte i holding `byte(i)`.
const mapOf = (rowBytes, rows, byte) => Uint8Array.from({length: rowBytes * rows}, (_, i) => byte(i));

test('true colour rows are taken from their place in a padded map, the padding left behind', () => {
  // 3 pixels wide, rows padded to 4 pixels (16 bytes).
  const map = mapOf(16, 3, (i) => i);
  const area = {left: 1, top: 1, right: 3, bottom: 3};
  const data = copyArea({area, trueColour: true, rowBytes: 16}, map, new Uint8Array(1024));
  assert.ok(data instanceof Uint8ClampedArray);
  assert.deepEqual([...data], [20, 21, 22, 23, 24, 25, 26, 27, 36, 37, 38, 39, 40, 41, 42, 43]);
  assert.equal(data.buffer.byteLength, data.length, 'a buffer of its own, to hand over whole');
});

test('256 colours are looked up as four bytes each, from a table at any word offset', () => {
  const map = mapOf(8, 2, (i) => [0, 255, 7, 1][i % 4]);
  // The table in the middle of a larger buffer, as it lies in the module's memory.
  const memory = new Uint8Array(4096);
  const colours = memory.subarray(1024, 2048);
  for (let i = 0; i < 256; ++i) colours.set([i, 255 - i, i >> 1, 255], i * 4);
  const area = {left: 1, top: 0, right: 4, bottom: 2};
  const data = copyArea({area, trueColour: false, rowBytes: 8}, map, colours);
  const pixel = (i) => [i, 255 - i, i >> 1, 255];
  assert.deepEqual([...data], [255, 7, 1, 255, 7, 1].flatMap(pixel));
});

test('an empty area gives an empty picture in either mode', () => {
  const area = {left: 2, top: 2, right: 2, bottom: 5};
  for (const trueColour of [true, false]) {
    assert.equal(copyArea({area, trueColour, rowBytes: 16}, new Uint8Array(64), new Uint8Array(1024)).length, 0);
  }
});
