// The pointer and the keys, handed to the core as the window hands them: drag with a mouse, a
// pen or a finger; inspect with a right click or a long press; every key that is no accelerator
// by the code the window would get for it. Besides: two fingers pinch, a double tap toggles the
// fit, a finger on an empty part of a picture bigger than the stage pans, Ctrl+wheel zooms.
import {byteString} from './files.js';
import {boxesBusy, showText} from './dialogs.js';
import {acceleratorOf, reachesKeyHandling, virtualKey} from './keys.js';
import {shownMessage} from './names.js';
import {zoomStepDown, zoomStepUp} from './geometry.js';
import {
  canvas, fitToStage, followHeld, mapPoint, panBy, pictureAt, scrollByArrow, stageScrolls, stepZoom, zoomAbout,
  zoomKeeping,
} from './stage.js';
import {DOUBLE_TAP_ZOOM, isDoubleTap, midpoint, pinchStep, startPinch} from './touch.js';

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
  // The shelf over the picture takes the presses meant for it.
  const shown = () => !canvas.hidden && !document.documentElement.classList.contains('shelf-open');

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

  /** Where the picture toggles to on a double tap: 2× about the tap from the fit, else the fit. @param {{x: number, y: number}} at */
  const toggleZoom = (at) => {
    if (state.fit) zoomAbout(state, DOUBLE_TAP_ZOOM, at);
    else fitToStage(state);
  };

  /**
   * A tap ended: with the tap before it on a part of the picture where nothing was picked up,
   * a double tap.
   * @param {{x: number, y: number}} at
   * @param {Promise<boolean>} held  whether the tap caught an object
   */
  const tapped = async (at, held) => {
    const time = performance.now();
    if (await held) {
      state.lastTap = null;
    } else if (isDoubleTap(state.lastTap, at, time)) {
      state.lastTap = null;
      toggleZoom(at);
    } else {
      state.lastTap = {point: at, time};
    }
  };

  /**
   * A second finger came down: the fingers pinch, unless the first one holds an object (its drag
   * goes on, the new finger does nothing). A first finger still waiting or panning has pressed
   * nothing that matters: its press is let go of (or never made).
   */
  const startPinching = () => {
    const holding = pointer.id >= 0 && !state.touch && !state.panning?.active;
    if (holding) return false;
    if (state.panning) {
      state.panning = null;
      client.call('release');
    }
    forgetTouch();
    endCapture();
    const [a, b] = [...state.fingers.values()];
    state.pinch = startPinch(a, b, state.zoom, pictureAt(state, midpoint(a, b)));
    return true;
  };

  // Presses anywhere on the stage count, beside the picture too: the window's view takes them
  // at the nearest point of the picture's edge.
  stage.addEventListener('pointerdown', (e) => {
    if (e.pointerType === 'touch' && shown()) {
      state.fingers.set(e.pointerId, {x: e.clientX, y: e.clientY});
      if (state.fingers.size === 2 && startPinching()) {
        e.preventDefault();
        return;
      }
      if (state.fingers.size > 1) return;
    }
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

  /**
   * A finger that starts moving on an empty part of a picture bigger than the stage pans it:
   * whether it caught something is asked after its press, and its moves go to the core until
   * the answer comes (moving nothing, when nothing is held).
   * @param {{x: number, y: number}} down
   */
  const maybePan = (down) => {
    if (!stageScrolls()) return;
    // From where the finger came down: once the pan starts, the picture catches up with it.
    const panning = {active: false, x: down.x, y: down.y};
    state.panning = panning;
    client.call('holdsObject').then((/** @type {boolean} */ held) => {
      if (state.panning !== panning) return;
      if (held) state.panning = null;
      else panning.active = true;
    });
  };

  stage.addEventListener('pointermove', async (e) => {
    if (state.fingers.has(e.pointerId)) state.fingers.set(e.pointerId, {x: e.clientX, y: e.clientY});
    if (state.pinch) {
      if (state.fingers.size < 2 || !state.fingers.has(e.pointerId)) return;
      const [a, b] = [...state.fingers.values()];
      const step = pinchStep(state.pinch, a, b);
      zoomKeeping(state, step.zoom, state.pinch.spot, step.middle);
      return;
    }
    if (e.pointerId !== pointer.id) return;
    if (state.panning?.active) {
      panBy(state.panning.x - e.clientX, state.panning.y - e.clientY);
      state.panning.x = e.clientX;
      state.panning.y = e.clientY;
      return;
    }
    if (state.touch) {
      if (Math.hypot(e.clientX - state.touch.x, e.clientY - state.touch.y) < TOUCH_SLOP) return;
      const down = {x: state.touch.x, y: state.touch.y};
      pressTouch();
      maybePan(down);
    }
    const [x, y] = mapPoint(state, e);
    const change = followed(await client.call('move', x, y));
    if (change.released && pointer.id === e.pointerId) endCapture();
  });

  /** A finger left the screen: a pinch ends once no finger is left. @param {PointerEvent} e */
  const fingerUp = (e) => {
    state.fingers.delete(e.pointerId);
    if (state.fingers.size === 0) state.pinch = null;
  };

  stage.addEventListener('pointerup', (e) => {
    fingerUp(e);
    if (e.pointerId !== pointer.id) return;
    state.panning = null;
    // A tap: pressed and let go at once.
    if (state.touch) {
      pressTouch();
      const held = client.call('holdsObject');
      client.call('release');
      endCapture();
      tapped({x: e.clientX, y: e.clientY}, held);
      return;
    }
    client.call('release');
    endCapture();
  });
  // The page lost the pointer without seeing it go up.
  const pointerLost = () => {
    forgetTouch();
    state.panning = null;
    client.call('pointerLost');
    endCapture();
  };
  stage.addEventListener('pointercancel', (e) => fingerUp(/** @type {PointerEvent} */ (e)));
  for (const type of ['pointercancel', 'lostpointercapture']) {
    stage.addEventListener(type, (e) => {
      if (/** @type {PointerEvent} */ (e).pointerId === pointer.id) pointerLost();
    });
  }
  window.addEventListener('blur', () => {
    state.fingers.clear();
    state.pinch = null;
    pointerLost();
  });
  stage.addEventListener('contextmenu', (e) => {
    if (!shown() || e.target === document.getElementById('hint')) return;
    e.preventDefault();
    // A long press's own context menu: the long press inspects already.
    if (/** @type {PointerEvent} */ (e).pointerType === 'touch') return;
    const [x, y] = mapPoint(state, e);
    inspect(state, x, y);
  });

  // Ctrl+wheel (and a touchpad's pinch, which arrives as one) zooms about the pointer instead of
  // the browser zooming the whole page: a mouse wheel's notch by a step, a touchpad smoothly.
  stage.addEventListener('wheel', (e) => {
    if (!e.ctrlKey || !shown()) return;
    e.preventDefault();
    const at = {x: e.clientX, y: e.clientY};
    if (Math.abs(e.deltaY) >= 50) {
      const {maxZoom, minZoom} = state.limits;
      zoomAbout(state, e.deltaY < 0 ? zoomStepUp(state.zoom, maxZoom) : zoomStepDown(state.zoom, minZoom), at);
    } else {
      zoomAbout(state, state.zoom * Math.exp(-e.deltaY / 100), at);
    }
  }, {passive: false});

  // Keys while a box or the progress shows are the box's, as under the window's modal boxes.
  document.addEventListener('keydown', (e) => {
    if (boxesBusy() || document.querySelector('dialog[open]')) return;
    // What is typed into a field (the shelf's search) is the field's.
    if (/** @type {HTMLElement} */ (e.target)?.matches?.('input, textarea')) return;
    // + and − of the main keys zoom as the keypad's do (no window key to break a sequence).
    if ((e.key === '+' || e.key === '-') && !e.ctrlKey && !e.altKey && !e.metaKey && !e.code.startsWith('Numpad')) {
      e.preventDefault();
      if (state.loaded) stepZoom(state, e.key === '+' ? 1 : -1);
      return;
    }
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
