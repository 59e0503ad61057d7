// The pointer and the keys, handed to the core as the window hands them: drag with a mouse, a
// pen or a finger; inspect with a right click or a long press; every key that is no accelerator
// by the code the window would get for it.
import {byteString} from './files.js';
import {boxesBusy, showText} from './dialogs.js';
import {acceleratorOf, reachesKeyHandling, virtualKey} from './keys.js';
import {shownMessage} from './names.js';
import {canvas, followHeld, mapPoint, scrollByArrow} from './stage.js';

// How long a finger rests before it inspects rather than picks up, and how far it may wander
// meanwhile (window pixels) and still count as resting.
const LONG_PRESS_MS = 600;
const TOUCH_SLOP = 8;

/**
 * The object at map (x, y) in a box of its own, as the window's right button shows it.
 * @param {import('./state.js').PageState} state
 * @param {number} x
 * @param {number} y
 */
async function inspect(state, x, y) {
  const found = await state.client.call('inspect', x, y);
  if (found) showText(shownMessage(byteString(found.caption), state.places), shownMessage(byteString(found.text), state.places));
}

/**
 * @param {import('./state.js').PageState} state
 * @param {(command: import('./keys.js').KeyCommand) => boolean} runCommand  runs an accelerator's
 *   command; false for one the page has not
 */
export function wireInput(state, runCommand) {
  const {client, pointer} = state;
  const stage = /** @type {HTMLElement} */ (document.getElementById('stage'));
  const shown = () => !canvas.hidden;

  // The drag's life is the session's; the page keeps only the pointer capture, from the press to
  // the button going up or to the call that says the held object was let go (a fixed object
  // pulled past what it gives), after which that pointer's moves and release count no more, as
  // in the window.
  const endCapture = () => {
    if (pointer.id < 0) return;
    const id = pointer.id;
    pointer.id = -1;
    if (canvas.hasPointerCapture(id)) canvas.releasePointerCapture(id);
  };

  /** @param {import('./binding').Change} change */
  const followed = (change) => {
    followHeld(state, change);
    return change;
  };

  /** @param {number} x @param {number} y */
  const press = async (x, y) => followed(await client.call('press', x, y));

  const forgetTouch = () => {
    if (state.touch) clearTimeout(state.touch.timer);
    state.touch = null;
  };

  // Presses anywhere on the stage count, beside the picture too: the window's view takes them
  // at the nearest point of the picture's edge.
  stage.addEventListener('pointerdown', (e) => {
    if (e.button !== 0 || pointer.id >= 0 || !shown() || e.target === document.getElementById('hint')) return;
    e.preventDefault();
    pointer.id = e.pointerId;
    // The canvas holds the capture wherever the press was; its events come up to the stage.
    canvas.setPointerCapture(e.pointerId);
    state.dragScroll = {x: 0, y: 0};
    const [x, y] = mapPoint(state, e);
    if (e.pointerType !== 'touch') {
      // What this press lets go of was held before it: the capture is this press's own.
      press(x, y);
      return;
    }
    // A finger's press waits: resting long enough it inspects instead, as a right click does,
    // and then nothing is pressed at all (no "press(" or "catch(", no "drop(" after).
    forgetTouch();
    const timer = window.setTimeout(() => {
      forgetTouch();
      endCapture();
      inspect(state, x, y);
    }, LONG_PRESS_MS);
    state.touch = {x: e.clientX, y: e.clientY, mapX: x, mapY: y, timer};
  });

  /** The waiting press of a finger happens now, where it came down. */
  const pressTouch = () => {
    const waiting = /** @type {NonNullable<typeof state.touch>} */ (state.touch);
    forgetTouch();
    return press(waiting.mapX, waiting.mapY);
  };

  stage.addEventListener('pointermove', async (e) => {
    if (e.pointerId !== pointer.id) return;
    if (state.touch) {
      if (Math.hypot(e.clientX - state.touch.x, e.clientY - state.touch.y) < TOUCH_SLOP) return;
      pressTouch();
    }
    const [x, y] = mapPoint(state, e);
    const change = followed(await client.call('move', x, y));
    if (change.released && pointer.id === e.pointerId) endCapture();
  });
  stage.addEventListener('pointerup', (e) => {
    if (e.pointerId !== pointer.id) return;
    // A tap: pressed and let go at once.
    if (state.touch) pressTouch();
    client.call('release');
    endCapture();
  });
  // The page lost the pointer without seeing it go up.
  const pointerLost = () => {
    forgetTouch();
    client.call('pointerLost');
    endCapture();
  };
  for (const type of ['pointercancel', 'lostpointercapture']) {
    stage.addEventListener(type, (e) => {
      if (/** @type {PointerEvent} */ (e).pointerId === pointer.id) pointerLost();
    });
  }
  window.addEventListener('blur', pointerLost);
  stage.addEventListener('contextmenu', (e) => {
    if (!shown() || e.target === document.getElementById('hint')) return;
    e.preventDefault();
    // A long press's own context menu: the long press inspects already.
    if (/** @type {PointerEvent} */ (e).pointerType === 'touch') return;
    const [x, y] = mapPoint(state, e);
    inspect(state, x, y);
  });

  // Keys while a box or the progress shows are the box's, as under the window's modal boxes.
  document.addEventListener('keydown', (e) => {
    if (boxesBusy() || document.querySelector('dialog[open]')) return;
    const command = acceleratorOf(e);
    if (command) {
      if (runCommand(command)) e.preventDefault();
      return;
    }
    if (!reachesKeyHandling(e)) return;
    const code = virtualKey(e);
    // The arrows scroll the stage the window's way, not the browser's.
    if (code >= 0x25 && code <= 0x28) e.preventDefault();
    client.call('key', code).then((change) => {
      if (change.scroll) scrollByArrow(state, change.scroll);
    });
  });
}
