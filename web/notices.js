// Short notices that say what a command did where nothing else shows it (a download, the
// clipboard): read out by screen readers, gone after a few seconds.

const SHOWN_MS = 4000;

/** @param {import('./state.js').PageState} state @param {string} text */
export function notify(state, text) {
  const notice = /** @type {HTMLElement} */ (document.getElementById('notice'));
  notice.textContent = text;
  notice.hidden = false;
  clearTimeout(state.noticeTimer);
  state.noticeTimer = window.setTimeout(() => {
    notice.hidden = true;
  }, SHOWN_MS);
}
