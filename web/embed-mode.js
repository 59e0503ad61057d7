// The page as another page's player (`&embed`): the stage alone, the picture filling the frame
// (the frame has the playfield's shape, so a whole zoom would mostly leave it half empty), and the page's state and picture size told to the page around
// it, which sizes the frame to the set's playfield and mirrors the state on its element.

/** @param {string} id */
const $ = (id) => /** @type {HTMLElement} */ (document.getElementById(id));

/**
 * The zoom at which a picture fills a frame without spilling over; a whole one where it is
 * that close, so that the pixels stay even. Never 0, whatever the frame.
 * @param {{width: number, height: number}} frame
 * @param {{width: number, height: number}} picture
 */
export function fittingZoom(frame, picture) {
  if (picture.width <= 0 || picture.height <= 0 || frame.width <= 0 || frame.height <= 0) return 1;
  const fit = Math.min(frame.width / picture.width, frame.height / picture.height);
  const whole = Math.round(fit);
  if (whole >= 1 && fit >= whole && fit - whole < 0.03 * whole) return whole;
  return Math.max(0.1, Math.floor(fit * 1000) / 1000);
}

/** Hides all but the stage at once, before the core has started. */
export function enterEmbedMode() {
  document.documentElement.classList.add('embed');
  $('toolbar').hidden = true;
  $('hint').textContent = 'Loading the set…';
}

/**
 * Keeps the picture fitted to the frame, and tells the page around it what it shows.
 * @param {import('./state.js').PageState} state
 */
export async function wireEmbedMode(state) {
  // The stage's module needs the page's document: imported here, so that the pure part above
  // stays importable anywhere.
  const {applyZoom} = await import('./stage.js');
  const canvas = /** @type {HTMLCanvasElement} */ ($('playfield'));
  const stage = $('stage');
  const fit = () => {
    const zoom = fittingZoom({width: stage.clientWidth, height: stage.clientHeight}, canvas);
    // The pointer is mapped through the same factor, so a fraction works as a whole one does.
    if (zoom !== state.zoom && canvas.width > 0) {
      state.zoom = zoom;
      applyZoom(state);
    }
  };
  const tell = () => {
    if (window.parent === window) return;
    // The state and the size are all it says, to whichever page holds the frame.
    window.parent.postMessage({tavro: 'embed', state: document.documentElement.dataset.tavroState,
      width: canvas.width, height: canvas.height}, '*');
  };
  new MutationObserver(() => {
    fit();
    tell();
  }).observe(canvas, {attributes: true, attributeFilter: ['width', 'height', 'style']});
  new MutationObserver(tell).observe(document.documentElement, {attributes: true,
    attributeFilter: ['data-tavro-state']});
  window.addEventListener('resize', fit);
  tell();
}
