// Bytes shown as the window shows them: UTF-8, else Shift_JIS, else a character a byte.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {decodeByteString, decodeText, latin1} from '../../../web/text.js';

const bytes = (...b) => Uint8Array.from(b);

test('UTF-8 first, then Shift_JIS, then Latin-1', () => {
  assert.equal(decodeText(new TextEncoder().encode('人形.cnf')), '人形.cnf');
  // 表 is 0x95 0x5C in Shift_JIS: its second byte is a backslash, which must not split it.
  assert.equal(decodeText(bytes(0x95, 0x5c, 0x8e, 0xa6, 0x2e, 0x63, 0x65, 0x6c)), '表示.cel');
  // Neither: é in Latin-1 before a blank is no Shift_JIS pair.
  assert.equal(decodeText(bytes(0x63, 0x61, 0x66, 0xe9, 0x20)), 'café ');
  // 0x80 to 0x9F stay those code points, not windows-1252's characters.
  assert.equal(latin1(bytes(0x80, 0x9f, 0xff)), '\u0080\u009f\u00ff');
  assert.equal(decodeText([]), '');
});

test('a byte string decodes as its bytes would', () => {
  assert.equal(decodeByteString('\x95\x5c.cel'), '表.cel');
  assert.equal(decodeByteString('\xe4\xba\xba'), '人');
  assert.equal(decodeByteString('plain'), 'plain');
});

test('long texts decode whole', () => {
  const long = new Uint8Array(10000).fill(0x41);
  long[9999] = 0xe9;
  const shown = decodeText(long);
  assert.equal(shown.length, 10000);
  assert.equal(shown.at(-1), 'é');
});
