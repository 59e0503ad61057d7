// The toolbar's commands: sets and colour groups, colour modes, zoom, and the file commands
// (Save, Copy, Record) with the information boxes.
import {bytesOf, shownText} from './files.js';
import {askYesNo, chooseOne, showMessages, showTable, showText} from './dialogs.js';
import {canvas, setZoom} from './stage.js';

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
    b.disabled = true;
    b.setAttribute('aria-pressed', 'false');
    b.addEventListener('click', () => action(n));
    holder.append(b);
  }
}

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
  for (const id of ['copy', 'record', 'information', 'report', 'adjust']) $(id).disabled = !s.loaded;
  $('save').disabled = !s.canSave;
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
  if (!config.handle) {
    download(bytes, config.name, 'text/plain');
    return;
  }
  try {
    await writeBack(config.handle, bytes, config.name);
  } catch (error) {
    const why = /** @type {Error} */ (error).message || error;
    await showMessages([`${config.name} could not be saved: ${why}`]);
  }
}

/** @param {import('./state.js').PageState} state */
async function record(state) {
  const answer = await chooseOne('Record Animation', ['5 seconds, GIF', '5 seconds, WebP',
    '30 seconds, GIF', '30 seconds, WebP']);
  if (answer < 0) return;
  const ms = answer < 2 ? 5000 : 30000;
  const ext = answer % 2 === 0 ? 'gif' : 'webp';
  const path = `/tmp/recording.${ext}`;
  // The set plays on from where the recording left it: the core has put its alarms off.
  const result = await state.client.call('record', bytesOf(path), ms, state.zoom);
  if (!result.written) {
    await showMessages([shownText(result.error)]);
    return;
  }
  const bytes = await state.client.readFile(path, true);
  download(bytes, `${state.config.name.replace(/\.[^.]*$/, '')}.${ext}`, `image/${ext}`);
  await showMessages(result.notes.map(shownText));
}

/** @param {import('./state.js').PageState} state */
export function wireCommands(state) {
  const {client} = state;
  makeButtons($('sets'), 'Set', 10, (n) => client.call('selectSet', n));
  makeButtons($('groups'), 'Colour group', 10, (n) => client.call('selectGroup', n));
  $('mode256').addEventListener('click', () => client.call('colourMode256'));
  $('modeTrue').addEventListener('click', () => client.call('colourModeTrue'));
  $('adjust').addEventListener('click', () => client.call('adjustObjects'));
  $('zoomIn').addEventListener('click', () => setZoom(state, state.zoom + 1));
  $('zoomOut').addEventListener('click', () => setZoom(state, state.zoom - 1));
  $('information').addEventListener('click', async () => {
    showText('Information', shownText(await client.call('informationText')));
  });
  $('report').addEventListener('click', async () => {
    /** @type {import('./binding').LoadProblem[]} */
    const problems = await client.call('loadReport');
    const rows = problems.map((p) => [shownText(p.file), p.line, p.kind, shownText(p.detail)]);
    showTable('Load Report', ['File', 'Line', 'Kind', 'Detail'], rows,
      rows.length ? '' : 'The load found nothing to mend.');
  });
  $('save').addEventListener('click', () => save(state));
  $('record').addEventListener('click', () => record(state));
  $('copy').addEventListener('click', async () => {
    const blob = await new Promise((ok) => canvas.toBlob(ok, 'image/png'));
    try {
      await navigator.clipboard.write([new ClipboardItem({'image/png': blob})]);
    } catch (error) {
      await showMessages([`The picture could not be copied: ${/** @type {Error} */ (error).message}`]);
    }
  });
}
