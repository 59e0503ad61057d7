// Many sets at once: a folder holding two or more archives puts each on the shelf, drawn by a
// worker of its own, instead of opening one of them. Its progress shows on the shelf, and the
// page goes on answering meanwhile.
import {showMessages} from './dialogs.js';
import {notify} from './notices.js';

/**
 * One set to keep: its files as gathered.
 * @typedef {{files: import('./files.js').Entry[], source: import('./shelf-format.js').ShelfSource}} BatchSet
 */

const ARCHIVE = /\.(lzh|lha|zip)$/i;
const CONFIG = /\.cnf$/i;

/**
 * The sets a gathering holds when it is a collection (two archives or more, from a folder): each
 * archive alone, and the folder's own files (all but the archives) where a configuration lies
 * among them. Null for anything else, which opens as before.
 * @param {import('./files.js').Entry[]} entries
 * @param {import('./opening.js').Source} source
 * @returns {BatchSet[] | null}
 */
export function collectionOf(entries, source) {
  // A drop is a folder's when everything dropped lies in one folder.
  const tops = new Set(entries.map((e) => e.path.split('/')[0]));
  const folder = source === 'folder' || (source === 'drop' && tops.size === 1 && entries.every((e) => e.path.includes('/')));
  if (!folder) return null;
  const archives = entries.filter((e) => ARCHIVE.test(e.path)).sort((a, b) => (a.path < b.path ? -1 : a.path > b.path ? 1 : 0));
  if (archives.length < 2) return null;
  const rest = entries.filter((e) => !ARCHIVE.test(e.path));
  const sets = archives.map((a) => ({files: [a], source: 'folder'}));
  if (rest.some((e) => CONFIG.test(e.path))) sets.push({files: rest, source: 'folder'});
  return /** @type {BatchSet[]} */ (sets);
}

/**
 * Puts the sets on the shelf, showing how far it has got.
 * @param {import('./state.js').PageState} state
 * @param {BatchSet[]} sets
 * @param {import('./shelf.js').Shelf} shelf
 */
export async function shelveCollection(state, sets, shelf) {
  const bar = /** @type {HTMLProgressElement} */ (document.getElementById('shelf-progress-bar'));
  const label = /** @type {HTMLElement} */ (document.getElementById('shelf-progress-text'));
  const box = /** @type {HTMLElement} */ (document.getElementById('shelf-progress'));
  shelf.showShelf(true);
  box.hidden = false;
  bar.max = sets.length;
  bar.value = 0;
  label.textContent = `Putting ${sets.length} sets on the shelf…`;
  const worker = new Worker(new URL('./worker/shelf-worker.js', import.meta.url));
  // The grid is drawn again now and then, not for each set: drawing reads the whole shelf.
  let drawn = 0;
  /** @type {{kept: string[], failed: {name: string, why: string}[], full: boolean}} */
  const result = await new Promise((ok, fail) => {
    worker.onmessage = ({data}) => {
      if (data.progress) {
        bar.value = data.progress.done;
        label.textContent = `Putting sets on the shelf: ${data.progress.done} of ${data.progress.total}`;
        if (performance.now() - drawn > 1000) {
          drawn = performance.now();
          shelf.refresh();
        }
      } else if (data.result) {
        ok(data.result);
      } else {
        fail(new Error(data.error));
      }
    };
    worker.onerror = (e) => fail(new Error(e.message || 'The shelf\'s worker stopped.'));
    // Only what crosses: a folder's handles stay on the page.
    const plain = sets.map((set) => ({...set, files: set.files.map((/** @type {import('./files.js').Entry} */ {path, file, data}) => ({path, file, data}))}));
    worker.postMessage({sets: plain, limit: state.shelfLimit});
  }).finally(() => {
    worker.terminate();
    box.hidden = true;
  });
  await shelf.refresh();
  notify(state, `${result.kept.length} set${result.kept.length === 1 ? '' : 's'} put on the shelf`);
  if (result.failed.length) {
    await showMessages([`${result.failed.length} of the ${sets.length} sets could not be put on the shelf:\n` +
      result.failed.map((f) => `${f.name}: ${f.why}`).join('\n')]);
  }
}
