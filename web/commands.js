// The toolbar's commands, the window's menu commands the page has: File New, Save, Copy and
// Record; sets and colour groups, Test; the colour modes and Transparent 50%; Zoom In, Zoom Out
// and the Zoom dialog; Information, the load report, Adjust Object; Help and About. The keys
// that are the window's accelerators run them too.
import {byteString, bytesOf, shownText} from './files.js';
import {askYesNo, askZoom, chooseOne, showAbout, showMessages, showReport, showText} from './dialogs.js';
import {shownFileName, shownMessage} from './names.js';
import {showTitle, stepThroughSets} from './document.js';
import {canvas, fitToStage, setPageState, setZoom, stepZoom} from './stage.js';
import {notify} from './notices.js';

// The version the About box names (the project's).
const VERSION = '0.1';

/** @param {string} id */
const $ = (id) => /** @type {HTMLButtonElement} */ (document.getElementById(id));

/**
 * @param {HTMLElement} holder
 * @param {string} label
 * @param {number} count
 * @param {(n: number) => void} action
 */
function makeButtons(holder, label, count, action) {
  for (let n = 0; n < count; ++n) {
    const b = document.createElement('button');
    b.textContent = String(n);
    b.title = `${label} ${n}`;
    b.setAttribute('aria-label', `${label} ${n}`);
    b.disabled = true;
    b.setAttribute('aria-pressed', 'false');
    b.addEventListener('click', () => action(n));
    holder.append(b);
  }
}


/**
 * @param {Uint8Array<ArrayBuffer>} bytes
 * @param {string} name
 * @param {string} type
 */
function download(bytes, name, type) {
  const url = URL.createObjectURL(new Blob([bytes], {type}));
  const a = document.createElement('a');
  a.href = url;
  a.download = name;
  document.body.append(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 10000);
}

/**
 * Writes the rewritten configuration over the one in the folder it was read from.
 * @param {FileSystemFileHandle} handle
 * @param {Uint8Array<ArrayBuffer>} bytes
 * @param {string} name
 */
async function writeBack(handle, bytes, name) {
  const file = /** @type {any} */ (handle);
  if ((await file.queryPermission({mode: 'readwrite'})) !== 'granted' &&
      (await file.requestPermission({mode: 'readwrite'})) !== 'granted') {
    throw new Error(`${name} may not be written.`);
  }
  const writable = await handle.createWritable();
  await writable.write(bytes);
  await writable.close();
}

/** @param {import('./state.js').PageState} state */
async function save(state) {
  const {client, config} = state;
  // Over the file it came from, only once the person agrees, as in the window.
  if (config.handle && !(await askYesNo('上書きしますか？'))) return;
  // The core rewrites its copy in the in-memory file system; the person gets that copy, in the
  // folder it came from where the browser allows it, else as a download.
  const result = await client.call('save', bytesOf(config.path));
  if (!result.saved) {
    await showMessages([shownText(result.error)]);
    return;
  }
  const bytes = await client.readFile(config.path);
  const shelved = await keepSavedOnShelf(state, bytes);
  const also = shelved ? ' and kept on the shelf' : '';
  if (!config.handle) {
    download(bytes, config.name, 'text/plain');
    notify(state, `Downloaded ${config.name}${also}`);
    return;
  }
  try {
    await writeBack(config.handle, bytes, config.name);
    notify(state, `Saved ${config.name} into its folder${also}`);
  } catch (error) {
    const why = /** @type {Error} */ (error).message || error;
    await showMessages([`${config.name} could not be saved: ${why}`]);
  }
}

/**
 * The saved configuration goes into the shelf's copy of the set too, so that it reopens from
 * there as saved. Returns whether it did.
 * @param {import('./state.js').PageState} state
 * @param {Uint8Array<ArrayBuffer>} bytes
 */
async function keepSavedOnShelf(state, bytes) {
  await state.shelving;
  const folder = `${state.places.folder}/`;
  if (!state.shelfId || !state.config.path.startsWith(folder)) return false;
  try {
    await state.client.keepSaved(state.shelfId, state.config.path.slice(folder.length), bytes.slice(),
      state.shelfLimit);
    return true;
  } catch (error) {
    await showMessages([`${state.config.name} was not kept on the shelf: ${/** @type {Error} */ (error).message}`]);
    return false;
  }
}

/**
 * Export: the set as it stands, its files (the configuration as last saved) in a ZIP to take
 * elsewhere.
 * @param {import('./state.js').PageState} state
 */
async function exportSet(state) {
  const path = '/tmp/export.zip';
  const result = await state.client.call('exportSet', bytesOf(path));
  if (!result.written) {
    await showMessages([shownText(result.error)]);
    return;
  }
  const bytes = await state.client.readFile(path, true);
  const name = `${documentTitleBase(state)}.zip`;
  download(bytes, name, 'application/zip');
  notify(state, `Exported as ${name}`);
}

/** The open set's name without its extension. @param {import('./state.js').PageState} state */
function documentTitleBase(state) {
  return state.config.name.replace(/\.[^.]*$/, '') || 'set';
}

/** @param {import('./state.js').PageState} state */
async function record(state) {
  const answer = await chooseOne('Record Animation', ['Record 5 seconds as GIF', 'Record 5 seconds as WebP',
    'Record 30 seconds as GIF', 'Record 30 seconds as WebP']);
  if (answer < 0) return;
  const ms = answer < 2 ? 5000 : 30000;
  const ext = answer % 2 === 0 ? 'gif' : 'webp';
  const path = `/tmp/recording.${ext}`;
  // The set plays on from where the recording left it: the core has put its alarms off.
  // At the whole factor nearest the one shown (a fit may be fractional; the recording's is not).
  const zoom = Math.min(state.limits.maxChosenZoom, Math.max(state.limits.minZoom, Math.round(state.zoom)));
  const result = await state.client.call('record', bytesOf(path), ms, zoom);
  if (!result.written) {
    await showMessages([shownText(result.error)]);
    return;
  }
  const bytes = await state.client.readFile(path, true);
  const name = `${state.config.name.replace(/\.[^.]*$/, '')}.${ext}`;
  download(bytes, name, `image/${ext}`);
  notify(state, `Recording saved as ${name}`);
  // A recording's notes are information, as in the window.
  await showMessages(result.notes.map(shownText), 'information');
}

/** @param {import('./state.js').PageState} state */
export function wireCommands(state) {
  const {client} = state;
  makeButtons($('sets'), 'Set', 10, (n) => client.call('selectSet', n));
  makeButtons($('groups'), 'Colour group', 10, (n) => client.call('selectGroup', n));
  $('mode256').addEventListener('click', () => client.call('colourMode256'));
  $('modeTrue').addEventListener('click', () => client.call('colourModeTrue'));
  $('adjust').addEventListener('click', () => client.call('adjustObjects'));
  $('zoomIn').addEventListener('click', () => stepZoom(state, 1));
  $('zoomOut').addEventListener('click', () => stepZoom(state, -1));
  $('fit').addEventListener('click', () => fitToStage(state));
  $('actual-size').addEventListener('click', () => setZoom(state, state.limits.minZoom));
  $('zoom').addEventListener('click', async () => {
    const factor = await askZoom(Math.max(state.limits.minZoom, Math.round(state.zoom)), state.limits.minZoom,
      state.limits.maxChosenZoom);
    if (factor !== null) setZoom(state, factor, true);
  });
  $('test').addEventListener('click', () => stepThroughSets(state));
  $('transparent').addEventListener('click', () => client.call('transparent50'));
  $('new').addEventListener('click', async () => {
    await client.call('newDocument');
    state.places = {folder: '', extracted: '', archive: ''};
    setPageState('empty');
    await showTitle(state, 'Untitled');
  });
  $('information').addEventListener('click', async () => {
    showText('', shownText(await client.call('informationText')));
  });
  $('report').addEventListener('click', async () => {
    /** @type {import('./binding').LoadProblem[]} */
    const problems = await client.call('loadReport');
    const rows = problems.map((p) => ({file: shownFileName(byteString(p.file), state.places), line: p.line,
      kind: p.kind, detail: shownMessage(byteString(p.detail), state.places)}));
    showReport(rows, (text) => navigator.clipboard.writeText(text));
  });
  $('save').addEventListener('click', () => save(state));
  $('export').addEventListener('click', () => exportSet(state));
  $('record').addEventListener('click', () => record(state));
  $('copy').addEventListener('click', async () => {
    const blob = await new Promise((ok) => canvas.toBlob(ok, 'image/png'));
    try {
      await navigator.clipboard.write([new ClipboardItem({'image/png': blob})]);
      notify(state, 'Picture copied');
    } catch (error) {
      await showMessages([`The picture could not be copied: ${/** @type {Error} */ (error).message}`]);
    }
  });
  // The user guide, served with the page, in a tab of its own (the window's help viewer).
  $('help').addEventListener('click', () => window.open('guide.html', '_blank'));
  $('about').addEventListener('click', () => showAbout(VERSION));
}

/**
 * Runs an accelerator's command as the window's table has it. A command that is disabled does
 * nothing, as in the window; those the page cannot do (minimising the window, the panes, the
 * clipboard's paste, cut and undo, which nothing handles in the window either) do nothing too.
 * Returns whether the key was the page's, so that the browser does nothing else with it.
 * @param {import('./keys.js').KeyCommand} command
 * @returns {boolean}
 */
export function runCommand(command) {
  /** @type {Partial<Record<import('./keys.js').KeyCommand, string>>} */
  const buttons = {copy: 'copy', information: 'information', new: 'new', save: 'save',
    zoomIn: 'zoomIn', zoomOut: 'zoomOut', help: 'help'};
  const id = buttons[command];
  if (id) {
    const button = $(id);
    if (!button.disabled) button.click();
  } else if (command === 'open') {
    /** @type {HTMLInputElement} */ (document.getElementById('open-files')).click();
  } else if (command === 'toolbar') {
    const bar = $('toolbar');
    bar.hidden = !bar.hidden;
  }
  return true;
}
