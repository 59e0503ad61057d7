// Fullscreen: the picture alone on the whole screen through the browser's Fullscreen API, or,
// where the browser has none (a phone's browser may not), the stage fixed over the whole window.
// Escape, the toolbar's button or the stage's own leave button leaves it.

/** @param {string} id */
const $ = (id) => /** @type {HTMLElement} */ (document.getElementById(id));

/** @param {import('./state.js').PageState} state @param {boolean} on */
function show(state, on) {
  state.fullscreen = on;
  document.documentElement.classList.toggle('fullscreen', on);
  $('fullscreen').setAttribute('aria-pressed', String(on));
  $('leave-fullscreen').hidden = !on;
}

/** @param {import('./state.js').PageState} state */
export function wireFullscreen(state) {
  const root = document.documentElement;
  const api = document.fullscreenEnabled && typeof root.requestFullscreen === 'function';

  const enter = async () => {
    if (api) {
      try {
        await root.requestFullscreen({navigationUI: 'hide'});
        return;  // fullscreenchange shows it
      } catch {
        // Refused (not from a gesture, or by policy): the window-filling stage instead.
      }
    }
    show(state, true);
  };
  const leave = () => {
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    show(state, false);
  };

  $('fullscreen').addEventListener('click', () => (state.fullscreen ? leave() : enter()));
  $('leave-fullscreen').addEventListener('click', leave);
  // The browser's own way out (Escape, a gesture) ends the API's fullscreen; ours follows.
  document.addEventListener('fullscreenchange', () => show(state, document.fullscreenElement !== null));
  // Without the API, Escape leaves the window-filling stage; it is no key for the set then.
  document.addEventListener('keydown', (e) => {
    if (e.key !== 'Escape' || !state.fullscreen || document.querySelector('dialog[open]')) return;
    e.preventDefault();
    e.stopImmediatePropagation();
    leave();
  }, {capture: true});
}
