// Scene links on the page: where each set first showed its objects after the open (so that a
// link gives only what the person moved), the link's set, colour group and objects put back
// after an open by link, and the toolbar's "Copy link".
import {decodePlaced, movedObjects, sceneChoice, sceneUrl} from './scene-link.js';
import {showMessages, showText} from './dialogs.js';

/** Said for a set that came from this device's files: no address would reach it. */
export const LOCAL_SET_NOTE = 'This set was opened from files on this device, so a link cannot ' +
  'point to it: whoever opened the link would find nothing there. Put the set on a web site and ' +
  'open it here by its link (index.html?open=…) to share scenes of it.';

/**
 * The set shown and its colour group, from the command states (-1 for none).
 * @param {import('./binding').CommandStates} states
 */
const shown = (states) => ({set: states.sets.findIndex((t) => t.checked),
  group: states.groups.findIndex((t) => t.checked)});

/**
 * After every change: a new set forgets the old one's places; a set showing for the first time
 * since the open has its objects' places noted. The two calls go out at once, ahead of any the
 * page makes after this change, so that they see the set as it first showed.
 * @param {import('./state.js').PageState} state
 * @param {import('./worker/core-engine.js').ChangedEvent} change
 */
export function noteScene(state, change) {
  if (change.newSet) state.sceneBases = new Map();
  if (!change.newSet && !change.setSwitched) return;
  const bases = state.sceneBases;
  const asked = Promise.all([state.client.call('states'), state.client.call('objectPositions')]);
  asked.then(([states, positions]) => {
    const {set} = shown(states);
    if (set < 0 || bases.has(set) || !states.loaded) return;
    bases.set(set, new Map(positions.map((/** @type {[number, number, number]} */ [n, x, y]) => [n, [x, y]])));
  }, () => {});
}

/**
 * After an open by link: the set, the colour group and the objects' places the link gives, as
 * the keys, the toolbar and dragging would have made them.
 * @param {import('./state.js').PageState} state
 * @param {URLSearchParams} params
 * @param {string} hash
 */
export async function applyScene(state, params, hash) {
  if (!state.loaded) return;
  const {client} = state;
  const {set, group} = sceneChoice(params);
  if (set !== null) await client.call('selectSet', set);
  if (group !== null) await client.call('selectGroup', group);
  const placed = decodePlaced(hash);
  await Promise.all(placed.map(([n, x, y]) => client.call('placeObject', n, x, y)));
}

/**
 * The link to what is shown now.
 * @param {import('./state.js').PageState} state
 * @returns {Promise<string>} '' while no set from a link is shown
 */
export async function currentSceneLink(state) {
  if (!state.link || !state.loaded) return '';
  const {client} = state;
  const [states, positions] = await Promise.all([client.call('states'), client.call('objectPositions')]);
  const {set, group} = shown(states);
  if (set < 0) return '';
  const moved = movedObjects(state.sceneBases.get(set), positions);
  return sceneUrl(location.href, state.link, set, Math.max(0, group), moved);
}

/**
 * "Copy link": the share sheet where the device has one for links (a phone's), else the
 * clipboard, and the link shown either way, so that it can be copied by hand where the
 * clipboard is refused.
 * @param {import('./state.js').PageState} state
 */
async function copyLink(state) {
  if (!state.link) {
    await showMessages([LOCAL_SET_NOTE], 'information');
    return;
  }
  const url = await currentSceneLink(state);
  if (!url) return;
  const share = /** @type {any} */ (navigator).share;
  if (share && matchMedia('(pointer: coarse)').matches) {
    try {
      await navigator.share({url, title: document.title});
      return;
    } catch (error) {
      if (/** @type {Error} */ (error).name === 'AbortError') return;
    }
  }
  let copied = true;
  try {
    await navigator.clipboard.writeText(url);
  } catch {
    copied = false;
  }
  await showText('Copy link', `${copied ? 'The link to this scene was copied:' : 'The link to this scene:'}\n${url}`);
}

/** @param {import('./state.js').PageState} state */
export function wireSceneLinks(state) {
  document.getElementById('copy-link')?.addEventListener('click', () => copyLink(state));
}
