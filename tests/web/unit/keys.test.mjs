// Keys as the window takes them: accelerators become commands, the rest virtual-key codes.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {acceleratorOf, reachesKeyHandling, virtualKey} from '../../../web/keys.js';

const key = (code, k, mods = {}) => ({code, key: k, ...mods});

test('main-row digits by position, whatever Shift or the layout writes', () => {
  assert.equal(virtualKey(key('Digit2', '2')), 0x32);
  assert.equal(virtualKey(key('Digit2', '"', {shiftKey: true})), 0x32);
  assert.equal(virtualKey(key('Digit7', 'è')), 0x37);  // AZERTY
  assert.equal(virtualKey(key('Digit2', '2', {ctrlKey: true})), 0x32);  // Ctrl+2 picks set 2
  assert.equal(acceleratorOf(key('Digit2', '2', {ctrlKey: true})), null);
});

test('the keypad: digits of their own with Num Lock, else the keys they are', () => {
  assert.equal(virtualKey(key('Numpad7', '7')), 0x67);
  assert.equal(virtualKey(key('Numpad4', 'ArrowLeft')), 0x25);
  assert.equal(virtualKey(key('Numpad7', 'Home')), 0xff);
  assert.equal(acceleratorOf(key('NumpadAdd', '+')), 'zoomIn');
  assert.equal(acceleratorOf(key('NumpadSubtract', '-')), 'zoomOut');
  // The main row's + and - are no accelerators: they reach the view and break the sequence.
  assert.equal(acceleratorOf(key('Equal', '+', {shiftKey: true})), null);
  assert.equal(acceleratorOf(key('Minus', '-')), null);
});

test('letters, modifiers and the rest break or keep the sequence by their codes', () => {
  assert.equal(virtualKey(key('KeyZ', 'z')), 0x5a);
  assert.equal(virtualKey(key('KeyZ', 'Z', {shiftKey: true})), 0x5a);
  assert.equal(virtualKey(key('KeyW', 'z')), 0x5a);  // AZERTY's Z sits where QWERTY has W
  assert.equal(virtualKey(key('KeyZ', 'я')), 0x5a);  // a layout without Latin letters
  assert.equal(virtualKey(key('ShiftLeft', 'Shift', {shiftKey: true})), 0x10);
  assert.equal(virtualKey(key('ControlLeft', 'Control', {ctrlKey: true})), 0x11);
  assert.equal(virtualKey(key('Tab', 'Tab')), 0xff);
  assert.equal(virtualKey(key('ArrowDown', 'ArrowDown')), 0x28);
  assert.ok(!reachesKeyHandling(key('AltLeft', 'Alt', {altKey: true})));
  assert.ok(!reachesKeyHandling(key('KeyZ', 'z', {altKey: true})));
  assert.ok(reachesKeyHandling(key('ShiftLeft', 'Shift', {shiftKey: true})));
});

test('the accelerator table, modifiers matched exactly', () => {
  const table = [
    [key('KeyC', 'c', {ctrlKey: true}), 'copy'], [key('KeyI', 'i', {ctrlKey: true}), 'information'],
    [key('KeyN', 'n', {ctrlKey: true}), 'new'], [key('KeyO', 'o', {ctrlKey: true}), 'open'],
    [key('KeyS', 's', {ctrlKey: true}), 'save'], [key('KeyB', 'b', {ctrlKey: true}), 'toolbar'],
    [key('Insert', 'Insert', {ctrlKey: true}), 'copy'], [key('Insert', 'Insert', {shiftKey: true}), 'paste'],
    [key('Delete', 'Delete', {shiftKey: true}), 'cut'], [key('Space', ' '), 'minimise'],
    [key('F1', 'F1'), 'help'], [key('F6', 'F6', {shiftKey: true}), 'previousPane'],
    [key('KeyC', 'c', {metaKey: true}), 'copy'],
    [key('KeyC', 'C', {ctrlKey: true, shiftKey: true}), null], [key('KeyC', 'c'), null],
    [key('Space', ' ', {shiftKey: true}), null],
  ];
  for (const [e, command] of table) assert.equal(acceleratorOf(e), command, JSON.stringify(e));
});
