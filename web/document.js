// What the page shows of the document as a whole: the buttons as the core's command states
// say, whether a picture is shown at all, the tab's title as the window's caption, and stepping
// through the sets as Test and a drop of several sets do.
import {pageTitle} from './names.js';
import {showLoaded} from './stage.js';

/** @param {string} id */
const $ = (id) => /** @type {HTMLButtonElement} */ (document.getElementById(id));

/**
 * The buttons as the core's command states say.
 * @param {import('./binding').CommandStates} s
 */
export function updateButtons(s) {
  /** @param {Element} button @param {boolean} enabled @param {boolean} checked */
  const mark = (button, enabled, checked) => {
    /** @type {HTMLButtonElement} */ (button).disabled = !enabled;
    button.setAttribute('aria-pressed', checked ? 'true' : 'false');
  };
  [...$('sets').children].forEach((b, n) => mark(b, s.sets[n].enabled, s.sets[n].checked));
  [...$('groups').children].forEach((b, n) => mark(b, s.groups[n].enabled, s.groups[n].checked));
  mark($('mode256'), s.loaded, s.colour256);
  mark($('modeTrue'), s.loaded, s.trueColour);
  for (const id of ['copy', 'copy-link', 'record', 'export', 'information', 'report', 'adjust', 'test', 'transparent']) {
    $(id).disabled = !s.loaded;
  }
  $('save').disabled = !s.canSave;
}

/**
 * Buttons and stage brought up to date with the core, after a call whose change may not say
 * (an open, which the engine hands on nothing after, or its cancelled choice).
 * @param {import('./state.js').PageState} state
 */
export async function refreshDocument(state) {
  /** @type {import('./binding').CommandStates} */
  const states = await state.client.call('states');
  updateButtons(states);
  showLoaded(state, states.loaded);
}

/**
 * The page's title as the window's caption for what the core has open now.
 * @param {import('./state.js').PageState} state
 * @param {string} title
 */
export async function showTitle(state, title) {
  /** @type {unknown[]} */
  const problems = title === 'Untitled' ? [] : await state.client.call('loadReport');
  document.title = pageTitle(title, problems.length);
}

/**
 * Every set in use in turn, each shown as it comes, as the window does after each of several
 * dropped files and for Test.
 * @param {import('./state.js').PageState} state
 */
export async function stepThroughSets(state) {
  for (let n = 0; n < 10; ++n) {
    const change = await state.client.call('selectSet', n);
    if (change.setSwitched) await new Promise((ok) => requestAnimationFrame(() => ok(undefined)));
  }
}
