// The stage: the canvas the pictures are drawn on, its zoom, and the page's state attribute that
// says whether a set is loading, shown or failed.

export const canvas = /** @type {HTMLCanvasElement} */ (document.getElementById('playfield'));
const context = /** @type {CanvasRenderingContext2D} */ (canvas.getContext('2d'));
/** @param {string} id */
const $ = (id) => /** @type {HTMLElement} */ (document.getElementById(id));

/** @param {'empty'|'loading'|'shown'|'failed'} state */
export function setPageState(state) {
  document.documentElement.setAttribute('data-tavro-state', state);
}

/** @param {import('./state.js').PageState} state */
export function applyZoom(state) {
  canvas.style.width = `${canvas.width * state.zoom}px`;
  canvas.style.height = `${canvas.height * state.zoom}px`;
  $('zoom').textContent = `${state.zoom}×`;
}

/**
 * @param {import('./state.js').PageState} state
 * @param {number} zoom
 */
export function setZoom(state, zoom) {
  state.zoom = Math.max(state.limits.minZoom, Math.min(state.limits.maxZoom, zoom));
  applyZoom(state);
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
  canvas.hidden = width === 0;
  $('hint').hidden = width !== 0;
  if (image) context.putImageData(image, area.left, area.top);
}

/**
 * Maps a pointer event onto the picture, clamped to its edges.
 * @param {MouseEvent} e
 * @returns {[number, number]}
 */
export function mapPoint(e) {
  const box = canvas.getBoundingClientRect();
  const x = Math.floor(((e.clientX - box.left) / box.width) * canvas.width);
  const y = Math.floor(((e.clientY - box.top) / box.height) * canvas.height);
  return [Math.max(0, Math.min(canvas.width - 1, x)), Math.max(0, Math.min(canvas.height - 1, y))];
}
