// The stage: the canvas the pictures are drawn on, its zoom and scrolling as the window's view
// has them, and the page's state attribute that says whether a set is loading, shown or failed.
import {arrowScrollTarget, followHeldObject, mapPointAt, zoomScrollTarget} from './geometry.js';

export const canvas = /** @type {HTMLCanvasElement} */ (document.getElementById('playfield'));
const context = /** @type {CanvasRenderingContext2D} */ (canvas.getContext('2d'));
/** @param {string} id */
const $ = (id) => /** @type {HTMLElement} */ (document.getElementById(id));

/** @param {'empty'|'loading'|'shown'|'failed'} state */
export function setPageState(state) {
  document.documentElement.setAttribute('data-tavro-state', state);
}

const stage = $('stage');

/** The stage's visible size and scroll position, in window pixels. */
const view = () => ({client: {width: stage.clientWidth, height: stage.clientHeight},
  scroll: {x: stage.scrollLeft, y: stage.scrollTop}});

/** @param {import('./state.js').PageState} state */
export function applyZoom(state) {
  canvas.style.width = `${canvas.width * state.zoom}px`;
  canvas.style.height = `${canvas.height * state.zoom}px`;
  $('zoom').textContent = `${state.zoom}×`;
  // As the window's menu: Zoom In while below the steps' top, Zoom Out while above 1.
  /** @type {HTMLButtonElement} */ ($('zoomIn')).disabled = state.zoom >= state.limits.maxZoom;
  /** @type {HTMLButtonElement} */ ($('zoomOut')).disabled = state.zoom <= state.limits.minZoom;
}

/**
 * Shows the picture at another zoom, the middle of the stage kept on the same map point. The
 * steps stop at the steps' limits; a factor typed in (`chosen`) may go up to the dialog's.
 * @param {import('./state.js').PageState} state
 * @param {number} zoom
 * @param {boolean} [chosen]
 */
export function setZoom(state, zoom, chosen = false) {
  const high = chosen ? state.limits.maxChosenZoom : state.limits.maxZoom;
  const factor = Math.max(state.limits.minZoom, Math.min(high, zoom));
  const {client, scroll} = view();
  const target = zoomScrollTarget(client, scroll, state.zoom, factor, {width: canvas.width, height: canvas.height});
  state.zoom = factor;
  applyZoom(state);
  stage.scrollTo(target.x, target.y);
}

/**
 * Whether a set is shown. Without one the stage shows nothing, as the window's view draws
 * nothing but its grey while nothing is loaded: not while an open reads the next set, not after
 * one failed, whatever size of picture the core still holds.
 * @param {import('./state.js').PageState} state
 * @param {boolean} loaded
 */
export function showLoaded(state, loaded) {
  state.loaded = loaded;
  canvas.hidden = !loaded || canvas.width === 0;
  $('hint').hidden = !canvas.hidden;
}

/**
 * A new set (or none) starts over as in the window: at the smallest zoom, scrolled to the
 * picture's top left corner.
 * @param {import('./state.js').PageState} state
 */
export function startOver(state) {
  state.zoom = state.limits.minZoom;
  applyZoom(state);
  stage.scrollTo(0, 0);
}

/**
 * An arrow key's scroll: a tenth of the enlarged picture in its direction.
 * @param {import('./state.js').PageState} state
 * @param {import('./geometry.js').Direction} direction
 */
export function scrollByArrow(state, direction) {
  const {client, scroll} = view();
  const total = {width: canvas.width * state.zoom, height: canvas.height * state.zoom};
  const target = arrowScrollTarget(direction, client, scroll, total);
  stage.scrollTo(target.x, target.y);
}

/**
 * Follows a held object past the stage's visible edge, as the window's view does. The browser
 * cannot move the pointer back by what the view scrolled, as the window does, so the pointer's
 * later positions count as moved back by that much (`state.dragScroll`): it stays on the same
 * map point.
 * @param {import('./state.js').PageState} state
 * @param {import('./binding').Change} change
 */
export function followHeld(state, change) {
  // A core without the held object's news (an older binding) leaves the view where it is.
  if (!change.heldMoved || !change.objectBox) return;
  const {client, scroll} = view();
  const target = followHeldObject(change.objectBox, {x: change.stepX, y: change.stepY}, state.zoom,
    scroll, client);
  if (target.x === scroll.x && target.y === scroll.y) return;
  stage.scrollTo(target.x, target.y);
  state.dragScroll.x += stage.scrollLeft - scroll.x;
  state.dragScroll.y += stage.scrollTop - scroll.y;
}

/**
 * Draws a picture's changed area where it belongs, the canvas first made the picture's size.
 * @param {import('./state.js').PageState} state
 * @param {import('./core-client.js').Picture} picture
 */
export function paint(state, {width, height, area, image}) {
  if (canvas.width !== width || canvas.height !== height) {
    canvas.width = width;
    canvas.height = height;
    applyZoom(state);
  }
  showLoaded(state, state.loaded);
  if (image) context.putImageData(image, area.left, area.top);
}

/**
 * Maps a pointer event onto the picture; a point beside or below it is taken at the nearest
 * point of its edge, as in the window.
 * @param {import('./state.js').PageState} state
 * @param {MouseEvent} e
 * @returns {[number, number]}
 */
export function mapPoint(state, e) {
  const box = canvas.getBoundingClientRect();
  const point = {x: e.clientX - box.left - state.dragScroll.x, y: e.clientY - box.top - state.dragScroll.y};
  const {x, y} = mapPointAt(point, state.zoom, {width: canvas.width, height: canvas.height});
  return [x, y];
}
