// The shelf as the page shows it: every set opened here, kept in the browser, as a grid of
// thumbnails with their names, the last opened first. It is the start screen (shown whenever no
// set is), and the Shelf button shows it over an open set. An entry opens with a tap, also with
// no network; one or all can be removed; a search narrows them by name. The workers write it
// (worker/shelf-store.js); the page reads and removes.
import {askYesNo, showMessages} from './dialogs.js';
import {isEntryId, kAbandonedMs, kPackFile, kShelfFull, shownEntries, shownSize} from './shelf-format.js';
import {readMeta, shelfFolder} from './worker/shelf-store.js';
import {notify} from './notices.js';

/** @typedef {import('./shelf-format.js').ShelfMeta} ShelfMeta */

/** @param {string} id */
const $ = (id) => /** @type {HTMLElement} */ (document.getElementById(id));

/** Whether this browser gives the page a file system of its own. */
export const shelfAvailable = () => typeof navigator.storage?.getDirectory === 'function';

/**
 * Every kept set; folders that a write never finished (no description, and old) are removed.
 * @returns {Promise<ShelfMeta[]>}
 */
export async function keptSets() {
  if (!shelfAvailable()) return [];
  const shelf = await shelfFolder();
  /** @type {ShelfMeta[]} */
  const out = [];
  for await (const [name, handle] of /** @type {any} */ (shelf).entries()) {
    if (handle.kind !== 'directory') continue;
    if (!isEntryId(name)) continue;
    const {meta} = await readMeta(handle);
    if (meta) out.push(meta);
    else if (await abandoned(handle)) await shelf.removeEntry(name, {recursive: true}).catch(() => {});
  }
  return out;
}

/**
 * Whether a folder without a description is one a write left long ago (a tab closed while it
 * wrote), not one being written now: it has files, and none is new.
 * @param {FileSystemDirectoryHandle} dir
 */
async function abandoned(dir) {
  let newest = -1;
  for await (const [, handle] of /** @type {any} */ (dir).entries()) {
    if (handle.kind === 'file') newest = Math.max(newest, (await handle.getFile()).lastModified);
  }
  return newest >= 0 && Date.now() - newest > kAbandonedMs;
}

/**
 * A kept set's files as an open takes them: slices of its pack, the saved configuration in
 * place of the file it stands for. Names are the bytes they were kept as.
 * @param {ShelfMeta} meta
 * @returns {Promise<import('./files.js').Entry[]>}
 */
export async function keptFiles(meta) {
  const dir = await (await shelfFolder()).getDirectoryHandle(meta.id);
  const pack = await (await dir.getFileHandle(kPackFile)).getFile();
  const saved = meta.saved ? await (await dir.getFileHandle(meta.saved.file)).getFile() : null;
  return meta.files.map((f) => ({path: f.path, raw: true,
    file: saved && meta.saved?.path === f.path ? saved : pack.slice(f.at, f.at + f.length)}));
}

/** @param {string} id */
async function removeKept(id) {
  await (await shelfFolder()).removeEntry(id, {recursive: true});
}

/**
 * The browser is asked once to keep the shelf until the person removes it, rather than clear it
 * when space runs low. It may say no; the shelf works all the same.
 */
let persistAsked = false;
async function askToPersist() {
  if (persistAsked) return;
  persistAsked = true;
  try {
    if (!(await navigator.storage.persisted?.())) await navigator.storage.persist?.();
  } catch {
    // Not offered here.
  }
}

/** @param {number} when */
function shownWhen(when) {
  const minutes = Math.round((Date.now() - when) / 60000);
  if (minutes < 1) return 'just now';
  if (minutes < 60) return `${minutes} min ago`;
  const hours = Math.round(minutes / 60);
  if (hours < 24) return `${hours} h ago`;
  return new Date(when).toLocaleDateString();
}

/** @type {Record<import('./shelf-format.js').ShelfSource, string>} */
const SOURCES = {files: 'from files', folder: 'from a folder', drop: 'dropped', link: 'from a link',
  shared: 'shared', launch: 'opened with'};

/**
 * A thumbnail as an element: the PNG as an image, else its pixels drawn.
 * @param {ShelfMeta} meta
 * @param {Map<string, string>} urls  the object URLs of the last drawing, by file, to use again
 * @param {Map<string, string>} used  those this drawing uses
 */
async function thumbnailElement(meta, urls, used) {
  const holder = document.createElement('span');
  holder.className = 'shelf-thumb';
  if (!meta.thumb) return holder;
  const name = `${meta.id}/${meta.thumb.file}`;
  try {
    const dir = await (await shelfFolder()).getDirectoryHandle(meta.id);
    if (meta.thumb.type === 'image/png') {
      const img = document.createElement('img');
      const url = urls.get(name) || URL.createObjectURL(await (await dir.getFileHandle(meta.thumb.file)).getFile());
      used.set(name, url);
      img.src = url;
      img.alt = '';
      img.width = meta.thumb.width;
      img.height = meta.thumb.height;
      holder.append(img);
    } else {
      const file = await (await dir.getFileHandle(meta.thumb.file)).getFile();
      const canvas = document.createElement('canvas');
      canvas.width = meta.thumb.width;
      canvas.height = meta.thumb.height;
      const pixels = new Uint8ClampedArray(await file.arrayBuffer());
      /** @type {CanvasRenderingContext2D} */ (canvas.getContext('2d'))
        .putImageData(new ImageData(pixels, meta.thumb.width, meta.thumb.height), 0, 0);
      holder.append(canvas);
    }
  } catch {
    // A picture that cannot be read: the entry without it.
  }
  return holder;
}

/**
 * The shelf's part of the page.
 * @param {import('./state.js').PageState} state
 * @param {(meta: ShelfMeta, files: import('./files.js').Entry[]) => Promise<void>} open
 */
export function wireShelf(state, open) {
  const section = $('shelf');
  const grid = $('shelf-grid');
  const search = /** @type {HTMLInputElement} */ ($('shelf-search'));
  /** @type {Map<string, string>} */
  let urls = new Map();
  /** @type {ShelfMeta[]} */
  let kept = [];
  let drawing = Promise.resolve();

  const showing = () => document.documentElement.dataset.tavroState === 'empty' ||
    document.documentElement.classList.contains('shelf-open');

  const usage = async () => {
    const size = kept.reduce((n, m) => n + m.size, 0);
    let text = `${kept.length} set${kept.length === 1 ? '' : 's'}, ${shownSize(size)}`;
    try {
      const {quota} = (await navigator.storage.estimate?.()) || {};
      if (quota) text += ` of the ${shownSize(quota)} this browser lets the page keep`;
      text += (await navigator.storage.persisted?.()) ? '; kept until you remove them'
        : '; the browser may clear them when it runs short of space';
    } catch {
      // The browser does not say.
    }
    $('shelf-usage').textContent = text;
  };

  const draw = async () => {
    kept = await keptSets();
    // The Shelf button is there once the shelf holds something.
    document.documentElement.classList.toggle('has-shelf', kept.length > 0);
    if (!showing()) return;
    const entries = shownEntries(kept, search.value);
    const made = [];
    /** @type {Map<string, string>} */
    const madeUrls = new Map();
    for (const meta of entries) {
      const item = document.createElement('li');
      item.dataset.tavroShelfEntry = meta.id;
      const button = document.createElement('button');
      button.className = 'shelf-open';
      button.type = 'button';
      button.title = `Open ${meta.name}`;
      const name = document.createElement('span');
      name.className = 'shelf-name';
      name.textContent = meta.name;
      const when = document.createElement('span');
      when.className = 'shelf-when';
      when.textContent = `${shownWhen(meta.opened)}, ${SOURCES[meta.source] || ''}`;
      button.append(await thumbnailElement(meta, urls, madeUrls), name, when);
      button.addEventListener('click', () => openKept(meta));
      const remove = document.createElement('button');
      remove.className = 'shelf-remove';
      remove.type = 'button';
      remove.setAttribute('aria-label', `Remove ${meta.name} from the shelf`);
      remove.title = 'Remove from the shelf';
      remove.innerHTML = '<svg class="icon" viewBox="0 0 24 24" aria-hidden="true"><path d="M6 6l12 12M18 6L6 18"/></svg>';
      remove.addEventListener('click', async () => {
        await removeKept(meta.id).catch(() => {});
        notify(state, `Removed ${meta.name} from the shelf`);
        refresh();
      });
      item.append(button, remove);
      made.push(item);
    }
    for (const [file, url] of urls) if (!madeUrls.has(file)) URL.revokeObjectURL(url);
    urls = madeUrls;
    grid.replaceChildren(...made);
    section.hidden = kept.length === 0;
    $('shelf-none').hidden = entries.length > 0 || kept.length === 0;
    /** @type {HTMLButtonElement} */ ($('shelf-clear')).disabled = kept.length === 0;
    await usage();
  };

  /** Draws the shelf again (once the drawing under way is over). */
  const refresh = () => {
    drawing = drawing.then(draw, draw);
    return drawing;
  };

  /** @param {ShelfMeta} meta */
  async function openKept(meta) {
    /** @type {import('./files.js').Entry[]} */
    let files;
    try {
      files = await keptFiles(meta);
    } catch {
      await showMessages([`${meta.name} can no longer be read from the shelf.`]);
      refresh();
      return;
    }
    showShelf(false);
    await open(meta, files);
  }

  /** @param {boolean} shown */
  const showShelf = (shown) => {
    document.documentElement.classList.toggle('shelf-open', shown);
    for (const id of ['shelf-button', 'menu-shelf']) $(id).setAttribute('aria-pressed', String(shown));
    if (shown) refresh();
  };

  for (const id of ['shelf-button', 'menu-shelf']) {
    $(id).addEventListener('click', () => showShelf(!document.documentElement.classList.contains('shelf-open')));
  }
  document.addEventListener('keydown', (e) => {
    if (e.key === 'Escape' && document.documentElement.classList.contains('shelf-open') &&
        document.documentElement.dataset.tavroState === 'shown') {
      showShelf(false);
    }
  });
  search.addEventListener('input', () => refresh());
  $('shelf-clear').addEventListener('click', async () => {
    if (!(await askYesNo('Remove every set from the shelf? Their files go from this browser.'))) return;
    for (const meta of kept) await removeKept(meta.id).catch(() => {});
    notify(state, 'The shelf is empty');
    refresh();
  });
  // The start screen is the shelf: drawn whenever no set is shown.
  new MutationObserver(() => {
    if (document.documentElement.dataset.tavroState !== 'shown') refresh();
  }).observe(document.documentElement, {attributes: true, attributeFilter: ['data-tavro-state']});
  refresh();

  return {
    refresh,
    showShelf,
    /**
     * Keeps what was just opened (or notes a kept set opened again); says so where the shelf is
     * full. Resolves to the kept set's description, or null.
     * @param {import('./worker/shelf-keep.js').ShelveRequest} request
     * @returns {Promise<ShelfMeta | null>}
     */
    async keep(request) {
      if (!shelfAvailable()) return null;
      askToPersist();
      try {
        return await state.client.shelve({...request, limit: state.shelfLimit});
      } catch (error) {
        const message = /** @type {Error} */ (error).message || String(error);
        if (message === kShelfFull) await showMessages([kShelfFull]);
        else console.warn(`The set was not kept on the shelf: ${message}`);
        return null;
      } finally {
        refresh();
      }
    },
  };
}

/** @typedef {ReturnType<typeof wireShelf>} Shelf */
