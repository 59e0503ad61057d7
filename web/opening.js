// Opening a set: the files gathered on the page go to the core's file system, the core opens
// them, and its messages show before the set starts, as in the window. Names in the messages
// and the load report are the ones the person gave; a document title and load-problem count go
// to the page's title, as to the window's caption.
import {byteString, bytesOf, entriesFromDirectory, entriesFromDrop, entriesFromFiles, shownText} from './files.js';
import {chooseConfig, showMessageWithLink, showMessages} from './dialogs.js';
import {refreshDocument, showTitle, stepThroughSets} from './document.js';
import {documentTitle, shownMessage} from './names.js';
import {setPageState, showLoaded} from './stage.js';
import {watchOpen} from './progress.js';
import {collectionOf, shelveCollection} from './shelf-batch.js';

/** @param {string} id */
const $ = (id) => /** @type {HTMLInputElement} */ (document.getElementById(id));

const CONFIG = /\.cnf$/i;
const ARCHIVE = /\.(lzh|lha|zip)$/i;

/**
 * How the files came: a link, the picker's files, a folder, a drop, the share sheet, the
 * installed app's "Open with", or the shelf. A drop of several sets opens each in turn, as the
 * window opens several dropped files.
 * @typedef {'link' | 'files' | 'folder' | 'drop' | 'shared' | 'launch' | 'shelf'} Source
 */

/**
 * What an open knows beyond its files: the address a link came from, the kept set an open
 * from the shelf reads, and what must be done before the set counts as shown (a scene link's
 * objects put in place).
 * @typedef {{link?: string, kept?: import('./shelf-format.js').ShelfMeta,
 *   beforeShown?: () => Promise<void>}} OpenOrigin
 */

// Said once after the load's messages when only configuration files were given: on a desktop
// the set's files lie beside it, but a page sees only what was picked.
export const ONLY_CONFIG_HINT = 'Only the configuration file was given, so the files it names ' +
  '(palettes, cels, sounds) could not be found. Open it again together with the set\'s files ' +
  '(pick them all at once with Open…), or open the set\'s folder (Folder…) or its archive.';

/**
 * The core's open, with its progress shown once it takes long; a Cancel ends it, and the open
 * then answers that nothing was opened, with `cancelled` set.
 * @param {import('./state.js').PageState} state
 * @param {...unknown} args the open's arguments
 */
async function openWatched(state, ...args) {
  const watch = watchOpen(state.client, () => state.client.cancelOpen());
  try {
    return await state.client.call('open', ...args);
  } finally {
    watch.done();
  }
}

/**
 * The folder the core unpacked the open archive into ('' for none, or where the core cannot
 * say), so that its members can be named after the archive.
 * @param {import('./state.js').PageState} state
 */
async function extractedFolder(state) {
  try {
    return byteString(await state.client.call('extractedFolder'));
  } catch {
    return '';
  }
}

/**
 * The sets a gathering offers, in the order they are opened: a drop's several configuration
 * files and archives each in turn; otherwise the one to open (null: let the person choose
 * among `choices`).
 * @param {import('./files.js').WrittenSet} written
 * @param {import('./files.js').Entry[]} entries
 * @param {Source} source
 * @param {string} [keptTarget]  what a kept set opens, its path below the written folder
 * @returns {{each: import('./files.js').Written[], choices: import('./files.js').Written[]}}
 */
export function targetsOf(written, entries, source, keptTarget = '') {
  const all = [...written.configs, ...written.archives];
  if (source === 'shelf') {
    const kept = all.find((w) => w.path === `${written.folder}/${keptTarget}`);
    return {each: kept ? [kept] : [], choices: []};
  }
  if (source === 'drop') {
    const order = new Map(entries.map((e, i) => [e.path, i]));
    const loose = all.filter((w) => w.depth === 1).sort((a, b) => (order.get(a.name) ?? 0) - (order.get(b.name) ?? 0));
    if (loose.length >= 2) return {each: loose, choices: []};
  }
  if (source !== 'link' && written.configs.length > 1) return {each: [], choices: written.configs};
  const first = written.configs[0] || written.archives[0];
  return {each: first ? [first] : [], choices: []};
}

/**
 * Opens one configuration file or archive of what was written and starts it.
 * @param {import('./state.js').PageState} state
 * @param {import('./files.js').WrittenSet} written
 * @param {import('./files.js').Written} target
 * @param {{merge: boolean, onlyConfigs: boolean, handles: Map<string, FileSystemFileHandle>,
 *   source: Source, origin: OpenOrigin}} how
 * @returns {Promise<boolean | 'cancelled'>} whether it opened
 */
async function openOne(state, written, target, how) {
  const {client} = state;
  const archive = ARCHIVE.test(target.name);
  /** @type {import('./names.js').OpenPlaces} */
  const places = {folder: written.folder, extracted: '', archive: archive ? target.name : ''};
  const tidy = (/** @type {Uint8Array[]} */ texts) => texts.map((m) => shownMessage(byteString(m), places));
  let result = await openWatched(state, bytesOf(target.path), how.merge, new Uint8Array());
  // The old set is gone: the open's boxes and its choice stand over an empty stage, its buttons
  // already those of an empty document.
  await refreshDocument(state);
  showLoaded(state, false);
  places.extracted = archive ? await extractedFolder(state) : '';
  let choice = '';
  if (result.choices.length) {
    // A kept set opens with the configuration chosen when it was last opened.
    const keptChoice = how.origin.kept?.choice || '';
    let chosen = result.choices.findIndex((/** @type {Uint8Array} */ c) => keptChoice && byteString(c) === keptChoice);
    if (chosen < 0) {
      await showMessages(tidy(result.messages));
      chosen = await chooseConfig(result.choices.map(shownText));
    }
    choice = chosen < 0 ? '' : byteString(result.choices[chosen]);
    result = chosen < 0 ? {opened: false, messages: []}
      : await openWatched(state, bytesOf(target.path), how.merge, result.choices[chosen]);
  }
  if (result.cancelled) {
    // The window's Cancel: an empty document, drawn as such.
    state.config = {path: '', name: '', handle: null};
    await client.call('startSet');
    await refreshDocument(state);
    setPageState('empty');
    return 'cancelled';
  }
  state.places = places;
  state.config = {path: target.path, name: target.name.split('/').pop() || '',
    handle: how.handles.get(target.name) || null};
  // The load's messages come first, as in the window: the set starts (its first scripts run, and
  // their "debug(" boxes open over its picture) only once the person has closed them. So a set
  // with messages is still loading while they show; a failure is on screen as soon as its
  // message is.
  const messages = tidy(result.messages);
  const closed = showMessages(messages);
  if (!result.opened) setPageState('failed');
  await closed;
  if (how.onlyConfigs && messages.length) await showMessages([ONLY_CONFIG_HINT], 'information');
  await client.call('startSet');
  await refreshDocument(state);
  // A failed open leaves the title as it was, as the window's caption.
  if (result.opened) {
    const title = documentTitle(target.name, archive);
    await showTitle(state, title);
    // A merged open is two archives' files in one: no kept copy could open it again.
    if (!how.merge) keepOnShelf(state, {folder: written.folder, target: target.path.slice(written.folder.length + 1), choice,
      name: title, source: how.origin.kept?.source || /** @type {import('./shelf-format.js').ShelfSource} */
        (how.source === 'shelf' ? 'files' : how.source),
      link: how.origin.link || how.origin.kept?.link || '', id: how.origin.kept?.id || ''});
  }
  return result.opened;
}

/**
 * Opens what was written into the file system.
 * @param {import('./state.js').PageState} state
 * @param {import('./files.js').WrittenSet} written
 * @param {import('./files.js').Entry[]} entries
 * @param {Source} source
 * @param {boolean} merge
 * @param {OpenOrigin} origin
 */
async function openWritten(state, written, entries, source, merge, origin) {
  /** @type {Map<string, FileSystemFileHandle>} */
  const handles = new Map();
  for (const {path, handle} of entries) if (handle) handles.set(path, handle);
  const onlyConfigs = source !== 'link' && source !== 'shelf' && entries.length > 0 &&
    entries.every((e) => CONFIG.test(e.path));
  const how = {merge, onlyConfigs, handles, source, origin};
  const {each, choices} = targetsOf(written, entries, source, origin.kept?.target);
  if (choices.length) {
    const chosen = await chooseConfig(choices.map((c) => c.name));
    if (chosen >= 0) each.push(choices[chosen]);
  }
  if (each.length === 0) {
    // Nothing to open, or the choice cancelled: the document is left empty, as in the window
    // (the files of what was open before are gone with this open).
    await state.client.call('newDocument');
    await refreshDocument(state);
    const closed = choices.length ? Promise.resolve()
      : showMessages(['No configuration file (.cnf) or archive (.lzh, .lha, .zip) was given.']);
    setPageState('failed');
    await closed;
    return;
  }
  let opened = false;
  for (const target of each) {
    const outcome = await openOne(state, written, target, how);
    // A Cancel ends the whole drop, as it ends the one open.
    if (outcome === 'cancelled') return;
    opened = outcome;
    if (each.length >= 2) await stepThroughSets(state);
  }
  if (opened) {
    await origin.beforeShown?.();
    setPageState('shown');
  }
}

/**
 * Gathers the files, writes them and opens them. The state changes once the picture or the
 * failure is on screen. With `merge` (Shift held), an archive's files join those of the archive
 * open now, as in the window.
 * @param {import('./state.js').PageState} state
 * @param {() => Promise<import('./files.js').Entry[]> | import('./files.js').Entry[]} gather
 * @param {boolean} [merge]
 * @param {Source} [source]
 * @param {OpenOrigin} [origin]
 */
export async function openFrom(state, gather, merge = false, source = 'files', origin = {}) {
  /** @type {import('./shelf-batch.js').BatchSet[] | null} */
  let collection = null;
  const before = document.documentElement.dataset.tavroState || 'empty';
  const link = state.link;
  await openWrittenBy(state, async () => {
    const entries = await gather();
    collection = merge || !state.shelf ? null : collectionOf(entries, source);
    if (collection) return null;
    return {written: await state.client.writeFiles(entries), entries};
  }, merge, source, () => false, origin);
  if (!collection) return;
  // A folder of sets goes onto the shelf; what was open stays open.
  setPageState(/** @type {any} */ (before === 'loading' ? 'empty' : before));
  state.link = link;
  try {
    await shelveCollection(state, collection, /** @type {import('./shelf.js').Shelf} */ (state.shelf));
  } catch (error) {
    await showMessages([`The sets could not be put on the shelf: ${/** @type {Error} */ (error).message}`]);
  }
}

/**
 * Opens a set kept on the shelf, from its files there: also with no network.
 * @param {import('./state.js').PageState} state
 * @param {import('./shelf-format.js').ShelfMeta} kept
 * @param {import('./files.js').Entry[]} files
 */
export async function openKept(state, kept, files) {
  await openFrom(state, () => files, false, 'shelf', {kept});
  // A set that came by link keeps its address: its scene links still point at it.
  state.link = state.loaded ? kept.link : '';
}

/**
 * Puts the set just opened on the shelf (or notes that a kept one was opened again); a Save
 * later writes into what this kept.
 * @param {import('./state.js').PageState} state
 * @param {import('./worker/shelf-keep.js').ShelveRequest} request
 */
function keepOnShelf(state, request) {
  state.shelfId = '';
  const keeping = (state.shelf ? state.shelf.keep(request) : Promise.resolve(null)).then((meta) => {
    // Only the set open now: another open may have come meanwhile.
    if (meta && state.shelving === keeping) state.shelfId = meta.id;
    return meta;
  });
  state.shelving = keeping;
}

/**
 * Opens a set by its link, on this site or another that allows it: the worker fetches it, so
 * that a big archive's bytes never pass through the page's thread. The download shows its
 * progress as an open does, and its Cancel leaves an empty document.
 * @param {import('./state.js').PageState} state
 * @param {string} link
 * @param {() => Promise<void>} [beforeShown] what the set shows once done (the link's scene)
 */
export async function openLink(state, link, beforeShown) {
  const url = new URL(link, location.href).href;
  let cancelled = false;
  const watch = watchOpen(state.client, () => {
    cancelled = true;
    state.client.cancelOpen();
  });
  await openWrittenBy(state, async () => {
    try {
      return {written: await state.client.fetchFiles(url), entries: []};
    } finally {
      watch.done();
    }
  }, false, 'link', () => cancelled, {link: url, beforeShown});
  // What a scene link points at: only a set that came by link has an address to give.
  state.link = state.loaded ? url : '';
}

/**
 * @param {import('./state.js').PageState} state
 * @param {() => Promise<{written: import('./files.js').WrittenSet, entries: import('./files.js').Entry[]} | null>} write
 *   null: nothing to open here
 * @param {boolean} merge
 * @param {Source} source
 * @param {() => boolean} cancelled whether the person cancelled before the files were written
 * @param {OpenOrigin} origin
 */
async function openWrittenBy(state, write, merge, source, cancelled, origin) {
  setPageState('loading');
  state.link = '';
  try {
    const wrote = await write();
    if (!wrote) return;
    // What was open before is gone: a Save from now on writes into no kept set but this one's.
    state.shelfId = '';
    state.shelving = Promise.resolve(null);
    await openWritten(state, wrote.written, wrote.entries, source, merge, origin);
  } catch (error) {
    if (cancelled()) {
      await refreshDocument(state);
      setPageState('empty');
      return;
    }
    const {message, link} = /** @type {Error & {link?: string}} */ (error);
    const closed = link ? showMessageWithLink(message, link) : showMessages([String(message || error)]);
    setPageState('failed');
    await closed;
  }
}

/**
 * The file picker, the folder picker and dropping onto the stage.
 * @param {import('./state.js').PageState} state
 */
export function wireOpening(state) {
  // The picker gives no keys with the files it returns: Shift counts as held when it was held
  // for the click that opened the picker.
  for (const id of ['open-files', 'open-folder']) {
    const input = $(id);
    // The toolbar's button passes its click on to the input (web/toolbar.js), which has no keys.
    $(id === 'open-files' ? 'open' : 'folder').addEventListener('click', (e) => {
      state.shiftAtPick = e.shiftKey;
    });
    input.addEventListener('change', () => {
      const files = [...(input.files || [])];
      const merge = state.shiftAtPick;
      state.shiftAtPick = false;
      if (files.length) openFrom(state, () => entriesFromFiles(files), merge, id === 'open-folder' ? 'folder' : 'files');
      input.value = '';
    });
  }

  // Where the browser has file system access, a folder is picked through it, so that Save can
  // write the configuration back into it; elsewhere the folder input reads a copy.
  const pickFolder = /** @type {any} */ (window).showDirectoryPicker;
  if (pickFolder) {
    $('folder').addEventListener('click', async (e) => {
      const merge = e.shiftKey;
      /** @type {FileSystemDirectoryHandle} */
      let folder;
      try {
        folder = await /** @type {any} */ (window).showDirectoryPicker({id: 'sets'});
      } catch {
        return;  // the person closed the picker
      }
      openFrom(state, () => entriesFromDirectory(folder), merge, 'folder');
    });
  }

  const stage = /** @type {HTMLElement} */ (document.getElementById('stage'));
  stage.addEventListener('dragover', (e) => {
    e.preventDefault();
    stage.classList.add('dropping');
  });
  stage.addEventListener('dragleave', () => stage.classList.remove('dropping'));
  stage.addEventListener('drop', (e) => {
    e.preventDefault();
    stage.classList.remove('dropping');
    const transfer = /** @type {DataTransfer} */ (e.dataTransfer);
    // The entries must be taken while the drop's event lasts; their files are read after.
    const gathering = entriesFromDrop(transfer);
    openFrom(state, () => gathering, e.shiftKey, 'drop');
  });
}
