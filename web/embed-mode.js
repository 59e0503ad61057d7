// The page as another page's player (`&embed`): the stage alone, the picture fitted to fill the
// frame (the stage's fit takes any factor there), and the page's state and picture size told to
// the page around it, which sizes the frame to the set's playfield and mirrors the state on its
// element.

/** @param {string} id */
const $ = (id) => /** @type {HTMLElement} */ (document.getElementById(id));

/** Hides all but the stage at once, before the core has started. */
export function enterEmbedMode() {
  document.documentElement.classList.add('embed');
  $('toolbar').hidden = true;
  $('hint').textContent = 'Loading the set…';
}

/** Tells the page that holds the frame what it shows, whenever that changes. */
export function wireEmbedMode() {
  if (window.parent === window) return;
  const canvas = /** @type {HTMLCanvasElement} */ ($('playfield'));
  const tell = () => {
    // The state and the size are all it says, to whichever page holds the frame.
    window.parent.postMessage({tavro: 'embed', state: document.documentElement.dataset.tavroState,
      width: canvas.width, height: canvas.height}, '*');
  };
  new MutationObserver(tell).observe(canvas, {attributes: true, attributeFilter: ['width', 'height']});
  new MutationObserver(tell).observe(document.documentElement, {attributes: true,
    attributeFilter: ['data-tavro-state']});
  tell();
}
