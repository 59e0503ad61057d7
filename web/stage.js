// The stage: the canvas the pictures are drawn on, its zoom and scrolling as the window's view
// has them, and the page's state attribute that says whether a set is loading, shown or failed.
import {
  arrowScrollTarget, fitZoom, followHeldObject, mapPointAt, pictureUnder, scrollKeeping, zoomScrollTarget, zoomStepDown, zoomStepUp,
} from './geometry.js';

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

/**
 * The picture at `state.zoom`, and the zoom controls as its factor allows: Zoom In while below
 * the steps' top, Zoom Out while above their bottom, Fit pressed while the picture follows the
 * stage's size.
 * @param {import('./state.js').PageState} state
 */
export function applyZoom(state) {
  // A fitted picture follows its own size too: a new set's picture may arrive after its news.
  if (state.fit) state.zoom = fittedZoom(state);
  canvas.style.width = `${canvas.width * state.zoom}px`;
  canvas.style.height = `${canvas.height * state.zoom}px`;
  stage.classList.toggle('fitted', state.fit);
  $('zoom').textContent = zoomLabel(state.zoom);
  $('zoom').setAttribute('aria-label', `Zoom… (now ${zoomLabel(state.zoom)})`);
  $('fit').setAttribute('aria-pressed', String(state.fit));
  /** @type {HTMLButtonElement} */ ($('zoomIn')).disabled = state.zoom >= state.limits.maxZoom;
  /** @type {HTMLButtonElement} */ ($('zoomOut')).disabled = state.zoom <= state.limits.minZoom;
}

/** @param {number} zoom */
const zoomLabel = (zoom) => (Number.isInteger(zoom) ? `${zoom}×` : `${Math.round(zoom * 100)}%`);

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
  state.fit = false;
  state.zoom = factor;
  applyZoom(state);
  stage.scrollTo(target.x, target.y);
}

/** The next zoom step up or down from any factor, a fit's too. @param {import('./state.js').PageState} state @param {1|-1} way */
export function stepZoom(state, way) {
  setZoom(state, way > 0 ? zoomStepUp(state.zoom, state.limits.maxZoom) : zoomStepDown(state.zoom, state.limits.minZoom));
}

/**
 * The space the picture may use: the stage's whole box, scroll bars or not, so that a fit does
 * not leave room for bars it no longer needs.
 */
function stageSpace() {
  const box = stage.getBoundingClientRect();
  return {width: box.width, height: box.height};
}

/**
 * The zoom at which the whole picture fits the stage: whole factors when enlarging with a mouse
 * (square, sharp pixels), any factor on a touch screen, where every pixel of a small screen counts.
 */
function fittingZoom() {
  // An embedded player's frame has the picture's shape: a whole factor would leave most of it empty.
  const whole = !matchMedia('(pointer: coarse)').matches && !document.documentElement.classList.contains('embed');
  // A hair under the exact fit: layout rounds sizes, and a picture a fraction of a pixel too
  // big would bring scroll bars.
  return fitZoom({width: canvas.width, height: canvas.height}, stageSpace(), whole) * (1 - 1e-6);
}

/**
 * The fit as a zoom factor: one that lands on a whole factor is that factor (Zoom In goes on
 * from it, and the label says 1×).
 * @param {import('./state.js').PageState} state
 */
function fittedZoom(state) {
  const zoom = fittingZoom();
  return Math.abs(zoom - Math.round(zoom)) < 1e-5 ? Math.round(zoom) : zoom;
}

/**
 * Fits the whole picture into the stage, and keeps it fitted while the stage changes size (until
 * another zoom is chosen).
 * @param {import('./state.js').PageState} state
 */
export function fitToStage(state) {
  state.fit = true;
  applyZoom(state);
  stage.scrollTo(0, 0);
}

/**
 * Zooms about a point of the stage (a double tap, the pointer under Ctrl+wheel): the picture
 * point under it stays under it.
 * @param {import('./state.js').PageState} state
 * @param {number} zoom
 * @param {{x: number, y: number}} at  in viewport (client) coordinates
 */
export function zoomAbout(state, zoom, at) {
  zoomKeeping(state, zoom, pictureAt(state, at), at);
}

/** A viewport point as a point of the stage's visible area. @param {{x: number, y: number}} at */
function inStage(at) {
  const box = stage.getBoundingClientRect();
  return {x: at.x - box.left - stage.clientLeft, y: at.y - box.top - stage.clientTop};
}

/**
 * The picture point (map pixels, fractional) under a viewport point.
 * @param {import('./state.js').PageState} state
 * @param {{x: number, y: number}} at
 */
export function pictureAt(state, at) {
  const {client, scroll} = view();
  return pictureUnder(inStage(at), scroll, state.zoom, {width: canvas.width, height: canvas.height}, client);
}

/**
 * Shows the picture at `zoom` with the picture point `spot` under the viewport point `at` (as
 * far as the scroll range allows): any factor from the fit's (or 1, whichever is less) to the
 * steps' top.
 * @param {import('./state.js').PageState} state
 * @param {number} zoom
 * @param {{x: number, y: number}} spot  map pixels
 * @param {{x: number, y: number}} at  viewport coordinates
 */
export function zoomKeeping(state, zoom, spot, at) {
  const low = Math.min(state.limits.minZoom, fittingZoom());
  state.fit = false;
  state.zoom = Math.max(low, Math.min(state.limits.maxZoom, zoom));
  applyZoom(state);
  const {client} = view();
  const target = scrollKeeping(spot, inStage(at), state.zoom, {width: canvas.width, height: canvas.height}, client);
  stage.scrollTo(target.x, target.y);
}

/**
 * Keeps a fitted picture fitted while the window, the phone's orientation, the browser's own bars
 * or the page's toolbar change the stage's size.
 * @param {import('./state.js').PageState} state
 */
export function followStageSize(state) {
  let queued = false;
  const refit = () => {
    if (queued) return;
    queued = true;
    requestAnimationFrame(() => {
      queued = false;
      if (state.fit) fitToStage(state);
    });
  };
  new ResizeObserver(refit).observe(stage);
  window.addEventListener('resize', refit);
  window.addEventListener('orientationchange', refit);
  window.visualViewport?.addEventListener('resize', refit);
}

/**
 * The stage's accessible name follows the tab's title, which names the set open (or says
 * there is none).
 */
export function labelStage() {
  const title = /** @type {HTMLTitleElement} */ (document.querySelector('title'));
  const label = () => {
    const set = document.title.replace(/ - TAVRO32$/, '');
    stage.setAttribute('aria-label', set === 'Untitled' ? 'No set open' : `Picture of ${set}`);
  };
  new MutationObserver(label).observe(title, {childList: true, characterData: true, subtree: true});
  label();
}

/** Whether the picture is bigger than the stage: then a finger on an empty part pans it. */
export function stageScrolls() {
  return stage.scrollWidth > stage.clientWidth || stage.scrollHeight > stage.clientHeight;
}

/** Scrolls the stage by (dx, dy) window pixels. @param {number} dx @param {number} dy */
export function panBy(dx, dy) {
  stage.scrollBy(dx, dy);
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
 * A new set (or none) starts over fitted to the stage, as the window fits its frame to a new set.
 * @param {import('./state.js').PageState} state
 */
export function startOver(state) {
  fitToStage(state);
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
  // The factor the picture is drawn at, as layout has it: exact at a fractional fit too.
  const zoom = canvas.width > 0 && box.width > 0 ? box.width / canvas.width : state.zoom;
  const {x, y} = mapPointAt(point, zoom, {width: canvas.width, height: canvas.height});
  return [x, y];
}
