// Opening a set: the files gathered on the page go to the core's file system, the core opens
// them, and its messages show before the set starts, as in the window.
import {bytesOf, entriesFromDirectory, entriesFromDrop, entriesFromFiles, shownText} from './files.js';
import {chooseOne, showMessages} from './dialogs.js';
import {setPageState} from './stage.js';
import {watchOpen} from './progress.js';

/** @param {string} id */
const $ = (id) => /** @type {HTMLInputElement} */ (document.getElementById(id));

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
 * Opens what was written into the file system: the first configuration file, else the first
 * archive, as the core's own open does with them (an archive offering several configurations
 * lets the person choose).
 * @param {import('./state.js').PageState} state
 * @param {import('./files.js').WrittenSet} written
 * @param {Map<string, FileSystemFileHandle>} handles the gathered files' handles by path
 * @param {boolean} merge
 */
async function openWritten(state, written, handles, merge) {
  const {client} = state;
  const target = written.configs[0] || written.archives[0];
  if (!target) {
    const closed = showMessages(['No configuration file (.cnf) or archive (.lzh, .zip) was given.']);
    setPageState('failed');
    await closed;
    return;
  }
  // Messages name files as the person gave them, without the folder the page put them in.
  const tidy = (/** @type {Uint8Array<ArrayBuffer>[]} */ texts) =>
    texts.map((m) => shownText(m).replaceAll(`${written.folder}/`, ''));
  let result = await openWatched(state, bytesOf(target.path), merge, new Uint8Array());
  if (result.choices.length) {
    await showMessages(tidy(result.messages));
    const chosen = await chooseOne('Choose a configuration file', result.choices.map(shownText));
    result = chosen < 0 ? {opened: false, messages: []}
      : await openWatched(state, bytesOf(target.path), merge, result.choices[chosen]);
  }
  if (result.cancelled) {
    // The window's Cancel: an empty document, drawn as such.
    state.config = {path: '', name: '', handle: null};
    await client.call('startSet');
    setPageState('empty');
    return;
  }
  state.config = {path: target.path, name: target.name.split('/').pop() || '',
    handle: handles.get(target.name) || null};
  // The load's messages come first, as in the window: the set starts (its first scripts run, and
  // their "debug(" boxes open over its picture) only once the person has closed them. So a set
  // with messages is still loading while they show; a failure is on screen as soon as its
  // message is.
  const closed = showMessages(tidy(result.messages));
  if (!result.opened) setPageState('failed');
  await closed;
  await client.call('startSet');
  if (result.opened) setPageState('shown');
}

/**
 * Gathers the files, writes them and opens them. The state changes once the picture or the
 * failure is on screen. With `merge` (Shift held), an archive's files join those of the archive
 * open now, as in the window.
 * @param {import('./state.js').PageState} state
 * @param {() => Promise<import('./files.js').Entry[]> | import('./files.js').Entry[]} gather
 * @param {boolean} [merge]
 */
export async function openFrom(state, gather, merge = false) {
  await openWrittenBy(state, async (handles) => {
    const entries = await gather();
    for (const {path, handle} of entries) if (handle) handles.set(path, handle);
    return state.client.writeFiles(entries);
  }, merge);
}

/**
 * Opens a set on this site by its link: the worker fetches it, so that a big archive's bytes
 * never pass through the page's thread.
 * @param {import('./state.js').PageState} state
 * @param {string} link
 */
export function openLink(state, link) {
  return openWrittenBy(state, () => state.client.fetchFiles(new URL(link, location.href).href));
}

/**
 * @param {import('./state.js').PageState} state
 * @param {(handles: Map<string, FileSystemFileHandle>) => Promise<import('./files.js').WrittenSet>} write
 * @param {boolean} [merge]
 */
async function openWrittenBy(state, write, merge = false) {
  setPageState('loading');
  try {
    /** @type {Map<string, FileSystemFileHandle>} */
    const handles = new Map();
    const written = await write(handles);
    await openWritten(state, written, handles, merge);
  } catch (error) {
    const closed = showMessages([String(/** @type {Error} */ (error).message || error)]);
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
    /** @type {HTMLElement} */ (input.closest('label')).addEventListener('click', (e) => {
      // The label passes its click on to the input, whose click comes back up without the keys.
      if (e.target !== input) state.shiftAtPick = e.shiftKey;
    });
    input.addEventListener('change', () => {
      const files = [...(input.files || [])];
      const merge = state.shiftAtPick;
      state.shiftAtPick = false;
      if (files.length) openFrom(state, () => entriesFromFiles(files), merge);
      input.value = '';
    });
  }

  // Where the browser has file system access, a folder is picked through it, so that Save can
  // write the configuration back into it; elsewhere the folder input reads a copy.
  const pickFolder = /** @type {any} */ (window).showDirectoryPicker;
  if (pickFolder) {
    /** @type {HTMLElement} */ ($('open-folder').closest('label')).addEventListener('click', async (e) => {
      if (e.target === $('open-folder')) return;
      e.preventDefault();
      const merge = e.shiftKey;
      /** @type {FileSystemDirectoryHandle} */
      let folder;
      try {
        folder = await /** @type {any} */ (window).showDirectoryPicker({id: 'sets'});
      } catch {
        return;  // the person closed the picker
      }
      openFrom(state, () => entriesFromDirectory(folder), merge);
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
    openFrom(state, () => gathering, e.shiftKey);
  });
}
