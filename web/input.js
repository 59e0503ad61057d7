// The pointer and the keys, handed to the core as the window hands them: drag with a mouse, a
// pen or a finger; inspect with a right click or a long press; every key by the code the window
// would get for it.
import {shownText} from './files.js';
import {showText} from './dialogs.js';
import {canvas, mapPoint} from './stage.js';

const KEY_CODES = /** @type {Record<string, number>} */ ({ArrowLeft: 0x25, ArrowUp: 0x26,
  ArrowRight: 0x27, ArrowDown: 0x28, Shift: 0x10, Control: 0x11, Alt: 0x12});

/**
 * A letter is its capital letter as the layout writes it (by where it sits where the layout
 * writes none); the main row's digits are digits whatever Shift or the layout makes of them; the
 * keypad's count as its own while Num Lock makes digits of them. Keys with no code of their own
 * are 0xFF: they still break the sequence that lifts fixing.
 * @param {KeyboardEvent} e
 */
export function virtualKey(e) {
  if (/^Numpad[0-9]$/.test(e.code) && /^[0-9]$/.test(e.key)) return 0x60 + Number(e.code.slice(6));
  if (/^Digit[0-9]$/.test(e.code)) return 0x30 + Number(e.code.slice(5));
  if (/^[a-z]$/i.test(e.key)) return e.key.toUpperCase().charCodeAt(0);
  if (/^Key[A-Z]$/.test(e.code)) return e.code.charCodeAt(3);
  return KEY_CODES[e.key] ?? 0xff;
}

/**
 * @param {import('./state.js').PageState} state
 * @param {number} x
 * @param {number} y
 */
async function inspect(state, x, y) {
  const found = await state.client.call('inspect', x, y);
  if (found) showText(shownText(found.caption), shownText(found.text));
}

/** @param {import('./state.js').PageState} state */
export function wireInput(state) {
  const {client, pointer} = state;

  // The drag's life is the session's; the page keeps only the pointer capture, from the press to
  // the button going up or to the call that says the held object was let go (a fixed object
  // pulled past what it gives), after which that pointer's moves and release count no more, as
  // in the window.
  const endCapture = () => {
    clearTimeout(pointer.longPress);
    if (pointer.id < 0) return;
    const id = pointer.id;
    pointer.id = -1;
    if (canvas.hasPointerCapture(id)) canvas.releasePointerCapture(id);
  };

  canvas.addEventListener('pointerdown', (e) => {
    if (e.button !== 0 || pointer.id >= 0) return;
    e.preventDefault();
    pointer.id = e.pointerId;
    canvas.setPointerCapture(e.pointerId);
    const [x, y] = mapPoint(e);
    // What this press lets go of was held before it: the capture is this press's own.
    client.call('press', x, y);
    if (e.pointerType === 'touch') {
      pointer.longPress = window.setTimeout(() => {
        pointer.longPress = 0;
        client.call('release');
        endCapture();
        inspect(state, x, y);
      }, 600);
    }
  });
  canvas.addEventListener('pointermove', async (e) => {
    if (e.pointerId !== pointer.id) return;
    clearTimeout(pointer.longPress);
    const [x, y] = mapPoint(e);
    const change = await client.call('move', x, y);
    if (change.released && pointer.id === e.pointerId) endCapture();
  });
  canvas.addEventListener('pointerup', (e) => {
    if (e.pointerId !== pointer.id) return;
    client.call('release');
    endCapture();
  });
  // The page lost the pointer without seeing it go up.
  const pointerLost = () => {
    client.call('pointerLost');
    endCapture();
  };
  for (const type of ['pointercancel', 'lostpointercapture']) {
    canvas.addEventListener(type, (e) => {
      if (/** @type {PointerEvent} */ (e).pointerId === pointer.id) pointerLost();
    });
  }
  window.addEventListener('blur', pointerLost);
  canvas.addEventListener('contextmenu', (e) => {
    e.preventDefault();
    const [x, y] = mapPoint(e);
    inspect(state, x, y);
  });

  // The arrows' scroll requests are left unanswered: the stage scrolls under the browser's own
  // arrow keys.
  // While a box or the progress shows, keys are the box's.
  document.addEventListener('keydown', (e) => {
    if (document.querySelector('dialog[open]')) return;
    client.call('key', virtualKey(e));
  });
}
