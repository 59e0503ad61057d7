// Keys as the window takes them. A key that is one of the window's accelerators becomes its
// command and never reaches the session; every other key goes to the session as the virtual-key
// code the keyboard rules are written in, so that the set's digits, the arrows and the key
// sequence that lifts fixing behave as in the window (any key but the sequence's next letter,
// Shift and Ctrl included, starts the sequence again).

/**
 * The parts of a KeyboardEvent that matter here.
 * @typedef {object} KeyInput
 * @property {string} code  the key's position ('Digit2', 'Numpad7', 'KeyZ')
 * @property {string} key   what the layout makes of it ('2', '"', 'Home', 'z')
 * @property {boolean} [ctrlKey]
 * @property {boolean} [shiftKey]
 * @property {boolean} [altKey]
 * @property {boolean} [metaKey]
 */

/**
 * The window's commands that a key can give.
 * @typedef {'toolbar' | 'copy' | 'information' | 'new' | 'open' | 'save' | 'paste' | 'cut' |
 *   'undo' | 'zoomIn' | 'zoomOut' | 'nextPane' | 'previousPane' | 'minimise' | 'help'} KeyCommand
 */

export const VK_SHIFT = 0x10;
export const VK_CONTROL = 0x11;
export const VK_LEFT = 0x25;
export const VK_UP = 0x26;
export const VK_RIGHT = 0x27;
export const VK_DOWN = 0x28;
export const VK_NUMPAD0 = 0x60;
// A key without a code of its own: it still breaks the key sequence.
export const VK_OTHER = 0xff;

/** @type {Record<string, number>} */
const NAMED = {ArrowLeft: VK_LEFT, ArrowUp: VK_UP, ArrowRight: VK_RIGHT, ArrowDown: VK_DOWN,
  Shift: VK_SHIFT, Control: VK_CONTROL};

/**
 * The accelerator table: [modifiers, code or key, command]. Modifiers must match exactly
 * ('c' Ctrl, 's' Shift, 'a' Alt); keypad keys are told by their position, the rest by their
 * position where the layout moves letters (Ctrl+Z is where Z is written).
 * @type {Array<[string, string, KeyCommand]>}
 */
const ACCELERATORS = [
  ['c', 'B', 'toolbar'], ['c', 'C', 'copy'], ['c', 'I', 'information'], ['c', 'N', 'new'],
  ['c', 'O', 'open'], ['c', 'S', 'save'], ['c', 'V', 'paste'], ['', 'NumpadAdd', 'zoomIn'],
  ['a', 'Backspace', 'undo'], ['s', 'Delete', 'cut'], ['', 'F6', 'nextPane'],
  ['s', 'F6', 'previousPane'], ['c', 'Insert', 'copy'], ['s', 'Insert', 'paste'],
  ['', 'Space', 'minimise'], ['', 'NumpadSubtract', 'zoomOut'], ['c', 'X', 'cut'],
  ['c', 'Z', 'undo'], ['', 'F1', 'help'],
];

/**
 * @param {KeyInput} e
 * @returns {string} the modifiers held, as the accelerator table writes them
 */
function modifiers(e) {
  return `${e.ctrlKey || e.metaKey ? 'c' : ''}${e.shiftKey ? 's' : ''}${e.altKey ? 'a' : ''}`;
}

/**
 * The letter a key writes (capital), by the layout where it writes a Latin letter, else by its
 * position; '' for keys that are no letter.
 * @param {KeyInput} e
 * @returns {string}
 */
function letterOf(e) {
  if (/^[a-z]$/i.test(e.key)) return e.key.toUpperCase();
  if (/^Key[A-Z]$/.test(e.code)) return e.code.slice(3);
  return '';
}

/**
 * The command this key gives as one of the window's accelerators, or null.
 * @param {KeyInput} e
 * @returns {KeyCommand | null}
 */
export function acceleratorOf(e) {
  const held = modifiers(e);
  const letter = letterOf(e);
  for (const [mods, name, command] of ACCELERATORS) {
    if (mods !== held) continue;
    if (name.length === 1 ? letter === name : e.code === name) return command;
  }
  return null;
}

/**
 * Whether the key is a key press of the view at all: Alt and its combinations belong to the
 * menus and the desktop, as in the window.
 * @param {KeyInput} e
 * @returns {boolean}
 */
export function reachesKeyHandling(e) {
  return !e.altKey && e.key !== 'Alt' && e.key !== 'AltGraph';
}

/**
 * The virtual-key code of a key press. The main row's digits are known by their position, so
 * they give their digit with Shift held or where the layout writes other characters on them;
 * the keypad's digits give their own codes while Num Lock makes digits of them, and otherwise
 * are the keys they then are (keypad 4 an arrow).
 * @param {KeyInput} e
 * @returns {number}
 */
export function virtualKey(e) {
  const digit = /^Digit([0-9])$/.exec(e.code);
  if (digit) return 0x30 + Number(digit[1]);
  const pad = /^Numpad([0-9])$/.exec(e.code);
  if (pad && /^[0-9]$/.test(e.key)) return VK_NUMPAD0 + Number(pad[1]);
  const letter = letterOf(e);
  if (letter) return letter.charCodeAt(0);
  return NAMED[e.key] ?? VK_OTHER;
}
