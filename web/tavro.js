// The page: one document driven through the core's session, as the window drives it. The core
// says what changed; the page copies that area of the picture onto the canvas, keeps one timeout
// for the next due alarm, and shows the core's messages in a modal dialog.
import {
  byteString, bytesOf, entriesFromDirectory, entriesFromDrop, entriesFromFiles, entriesFromUrl,
  shownText, writeEntries,
} from './files.js';
import {askYesNo, chooseConfig, chooseOne, showMessages, showReport, showText, showWarnings} from './dialogs.js';

const html = document.documentElement;
const canvas = document.getElementById('playfield');
const context = canvas.getContext('2d');
const $ = (id) => document.getElementById(id);

let core;      // the WebAssembly module
let session;   // the core's session
let zoom = 1;
let configPath = '';  // the configuration file opened, in the in-memory file system
let configName = '';  // its name as the person knows it
let configHandle = null;  // where the browser lets the page write it back: its file in the folder
let alarm = 0;        // the one timeout armed for the next due alarm
let hiddenSince = -1;
let held = 0;         // "debug(" boxes open: the scripts wait for them, so no timer pass runs

const now = () => session.tickCount();
const setState = (state) => html.setAttribute('data-tavro-state', state);

// ---- the picture ----

function paint() {
  const {width, height, area} = session.takePicture();
  if (canvas.width !== width || canvas.height !== height) {
    canvas.width = width;
    canvas.height = height;
    applyZoom();
  }
  canvas.hidden = width === 0;
  $('hint').hidden = width !== 0;
  const w = area.right - area.left;
  const h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return;
  const pixels = session.pixels();
  const image = context.createImageData(w, h);
  for (let y = 0; y < h; ++y) {
    const from = ((area.top + y) * width + area.left) * 4;
    image.data.set(pixels.subarray(from, from + w * 4), y * w * 4);
  }
  context.putImageData(image, area.left, area.top);
}

function applyZoom() {
  canvas.style.width = `${canvas.width * zoom}px`;
  canvas.style.height = `${canvas.height * zoom}px`;
  $('zoom').textContent = `${zoom}×`;
}

// After every call into the core, with what it says it changed (none for the calls that say
// nothing): the picture, what the scripts asked for, the buttons, the alarm.
function afterCall(change) {
  // A new set (or none) is shown at the smallest zoom, as in the window.
  if (change?.newSet && zoom !== core.minZoom) {
    zoom = core.minZoom;
    applyZoom();
  }
  paint();
  for (const sound of session.takeSounds()) playSound(sound);
  const texts = session.takeDebugTexts();
  if (texts.length) holdUntilClosed(showWarnings(texts.map(shownText)));
  if (!change || change.commandsChanged) updateButtons();
  armAlarm();
}

// As the window's box does, a "debug(" box holds the scripts: the alarms wait until it is closed,
// and then run at the present tick, late ones catching up.
function holdUntilClosed(closed) {
  ++held;
  clearTimeout(alarm);
  alarm = 0;
  closed.then(() => {
    --held;
    armAlarm();
  });
}

function playSound(bytes) {
  const url = URL.createObjectURL(new Blob([bytes]));
  const audio = new Audio(url);
  audio.onended = () => URL.revokeObjectURL(url);
  audio.play().catch(() => URL.revokeObjectURL(url));
}

// ---- alarms: one timeout for the next due alarm, none while nothing is due or the tab hidden ----

function armAlarm() {
  clearTimeout(alarm);
  alarm = 0;
  if (!session || document.hidden || held) return;
  const delay = session.nextTimerPassDelay(now());
  if (delay < 0) return;
  alarm = setTimeout(() => {
    alarm = 0;
    afterCall(session.runTimerPass(now()));
  }, delay);
}

document.addEventListener('visibilitychange', () => {
  if (!session) return;
  if (document.hidden) {
    hiddenSince = now();
    clearTimeout(alarm);
    alarm = 0;
  } else {
    // Play goes on where it stopped: the alarms wait as long as the tab was hidden.
    if (hiddenSince >= 0) session.delayAlarms((now() - hiddenSince) >>> 0);
    hiddenSince = -1;
    armAlarm();
  }
});

// ---- the buttons ----

function makeButtons(holder, label, count, action) {
  for (let n = 0; n < count; ++n) {
    const b = document.createElement('button');
    b.textContent = String(n);
    b.title = `${label} ${n}`;
    b.disabled = true;
    b.setAttribute('aria-pressed', 'false');
    b.addEventListener('click', () => afterCall(action(n)));
    holder.append(b);
  }
}

function updateButtons() {
  const s = session.states();
  const mark = (button, enabled, checked) => {
    button.disabled = !enabled;
    button.setAttribute('aria-pressed', checked ? 'true' : 'false');
  };
  [...$('sets').children].forEach((b, n) => mark(b, s.sets[n].enabled, s.sets[n].checked));
  [...$('groups').children].forEach((b, n) => mark(b, s.groups[n].enabled, s.groups[n].checked));
  mark($('mode256'), s.loaded, s.colour256);
  mark($('modeTrue'), s.loaded, s.trueColour);
  for (const id of ['copy', 'record', 'information', 'report', 'adjust']) $(id).disabled = !s.loaded;
  $('save').disabled = !s.canSave;
}

// ---- opening ----

// Opens what was written into the file system: the first configuration file, else the first
// archive, as the core's own open does with them (an archive offering several configurations
// lets the person choose).
async function openWritten(written, merge) {
  const target = written.configs[0] || written.archives[0];
  if (!target) {
    const closed = showMessages(['No configuration file (.cnf) or archive (.lzh, .zip) was given.']);
    setState('failed');
    await closed;
    return;
  }
  // Messages name files as the person gave them, without the folder the page put them in.
  const tidy = (texts) => texts.map((m) => shownText(m).replaceAll(`${written.folder}/`, ''));
  let result = session.open(bytesOf(target.path), merge, new Uint8Array());
  if (result.choices.length) {
    await showMessages(tidy(result.messages));
    const chosen = await chooseConfig(result.choices.map(shownText));
    result = chosen < 0 ? {opened: false, messages: []}
                        : session.open(bytesOf(target.path), merge, result.choices[chosen]);
  }
  configPath = target.path;
  configName = target.name.split('/').pop();
  configHandle = target.handle || null;
  // The load's messages come first, as in the window: the set starts (its first scripts run, and
  // their "debug(" boxes open over its picture) only once the person has closed them. So a set
  // with messages is still loading while they show; a failure is on screen as soon as its
  // message is.
  const closed = showMessages(tidy(result.messages));
  if (!result.opened) setState('failed');
  await closed;
  afterCall(session.startSet());
  if (result.opened) setState('shown');
}

// The state changes once the picture or the failure is on screen. With `merge` (Shift held), an
// archive's files join those of the archive open now, as in the window.
async function openFrom(produce, merge = false) {
  setState('loading');
  // The old set's alarms end with it; the new set's are armed once it starts.
  clearTimeout(alarm);
  alarm = 0;
  try {
    await openWritten(await produce(), merge);
  } catch (error) {
    const closed = showMessages([String(error.message || error)]);
    setState('failed');
    await closed;
  }
}

// The picker gives no keys with the files it returns: Shift counts as held when it was held for
// the click that opened the picker.
let shiftAtPick = false;
for (const id of ['open-files', 'open-folder']) {
  const input = $(id);
  input.closest('label').addEventListener('click', (e) => {
    // The label passes its click on to the input, whose click comes back up without the keys.
    if (e.target !== input) shiftAtPick = e.shiftKey;
  });
  input.addEventListener('change', (e) => {
    const files = e.target.files;
    const merge = shiftAtPick;
    shiftAtPick = false;
    if (files.length) openFrom(async () => writeEntries(core.FS, await entriesFromFiles(files)), merge);
    e.target.value = '';
  });
}

// Where the browser has file system access, a folder is picked through it, so that Save can write
// the configuration back into it; elsewhere the folder input reads a copy.
if (window.showDirectoryPicker) {
  $('open-folder').closest('label').addEventListener('click', async (e) => {
    if (e.target === $('open-folder')) return;
    e.preventDefault();
    const merge = e.shiftKey;
    let folder;
    try {
      folder = await window.showDirectoryPicker({id: 'sets'});
    } catch {
      return;  // the person closed the picker
    }
    openFrom(async () => writeEntries(core.FS, await entriesFromDirectory(folder)), merge);
  });
}

const stage = $('stage');
stage.addEventListener('dragover', (e) => {
  e.preventDefault();
  stage.classList.add('dropping');
});
stage.addEventListener('dragleave', () => stage.classList.remove('dropping'));
stage.addEventListener('drop', (e) => {
  e.preventDefault();
  stage.classList.remove('dropping');
  const transfer = e.dataTransfer;
  openFrom(async () => writeEntries(core.FS, await entriesFromDrop(transfer)), e.shiftKey);
});

// ---- the pointer: drag with a mouse, a pen or a finger; inspect with a right click or a long press ----

let pointerId = -1;
let longPress = 0;

function mapPoint(e) {
  const box = canvas.getBoundingClientRect();
  const x = Math.floor(((e.clientX - box.left) / box.width) * canvas.width);
  const y = Math.floor(((e.clientY - box.top) / box.height) * canvas.height);
  return [Math.max(0, Math.min(canvas.width - 1, x)), Math.max(0, Math.min(canvas.height - 1, y))];
}

// The drag's life is the session's; the page keeps only the pointer capture, from the press to the
// button going up or to the call that says the held object was let go (a fixed object pulled
// past what it gives), after which that pointer's moves and release count no more, as in the
// window.
function endCapture() {
  clearTimeout(longPress);
  if (pointerId < 0) return;
  const id = pointerId;
  pointerId = -1;
  if (canvas.hasPointerCapture(id)) canvas.releasePointerCapture(id);
}

canvas.addEventListener('pointerdown', (e) => {
  if (e.button !== 0 || pointerId >= 0) return;
  e.preventDefault();
  pointerId = e.pointerId;
  canvas.setPointerCapture(e.pointerId);
  const [x, y] = mapPoint(e);
  // What this press lets go of was held before it: the capture is this press's own.
  afterCall(session.press(x, y));
  if (e.pointerType === 'touch') {
    longPress = setTimeout(() => {
      longPress = 0;
      afterCall(session.release());
      endCapture();
      inspect(x, y);
    }, 600);
  }
});
canvas.addEventListener('pointermove', (e) => {
  if (e.pointerId !== pointerId) return;
  clearTimeout(longPress);
  const [x, y] = mapPoint(e);
  const change = session.move(x, y);
  afterCall(change);
  if (change.released) endCapture();
});
canvas.addEventListener('pointerup', (e) => {
  if (e.pointerId !== pointerId) return;
  afterCall(session.release());
  endCapture();
});
// The page lost the pointer without seeing it go up.
function pointerLost() {
  afterCall(session.pointerLost());
  endCapture();
}
for (const type of ['pointercancel', 'lostpointercapture']) {
  canvas.addEventListener(type, (e) => {
    if (e.pointerId === pointerId) pointerLost();
  });
}
window.addEventListener('blur', () => {
  if (session) pointerLost();
});
canvas.addEventListener('contextmenu', (e) => {
  e.preventDefault();
  const [x, y] = mapPoint(e);
  inspect(x, y);
});

function inspect(x, y) {
  const found = session.inspect(x, y);
  if (found) showText(shownText(found.caption), shownText(found.text));
}

// ---- keys: every key goes to the session by the code the window would get for it ----

const KEY_CODES = {ArrowLeft: 0x25, ArrowUp: 0x26, ArrowRight: 0x27, ArrowDown: 0x28,
  Shift: 0x10, Control: 0x11, Alt: 0x12};

// A letter is its capital letter as the layout writes it (by where it sits where the layout
// writes none); the main row's digits are digits whatever Shift or the layout makes of them; the
// keypad's count as its own while Num Lock makes digits of them. Keys with no code of their own
// are 0xFF: they still break the sequence that lifts fixing.
function virtualKey(e) {
  if (/^Numpad[0-9]$/.test(e.code) && /^[0-9]$/.test(e.key)) return 0x60 + Number(e.code.slice(6));
  if (/^Digit[0-9]$/.test(e.code)) return 0x30 + Number(e.code.slice(5));
  if (/^[a-z]$/i.test(e.key)) return e.key.toUpperCase().charCodeAt(0);
  if (/^Key[A-Z]$/.test(e.code)) return e.code.charCodeAt(3);
  return KEY_CODES[e.key] ?? 0xff;
}

// The arrows' scroll requests are left unanswered: the stage scrolls under the browser's own
// arrow keys.
document.addEventListener('keydown', (e) => {
  if (!session || $('message').open) return;
  afterCall(session.key(virtualKey(e)));
});

// ---- commands ----

$('mode256').addEventListener('click', () => afterCall(session.colourMode256()));
$('modeTrue').addEventListener('click', () => afterCall(session.colourModeTrue()));
$('adjust').addEventListener('click', () => afterCall(session.adjustObjects()));
$('zoomIn').addEventListener('click', () => { zoom = Math.min(core.maxZoom, zoom + 1); applyZoom(); });
$('zoomOut').addEventListener('click', () => { zoom = Math.max(core.minZoom, zoom - 1); applyZoom(); });
$('information').addEventListener('click', () => {
  showText('', shownText(session.informationText()));
});
$('report').addEventListener('click', () => {
  const rows = session.loadReport().map((p) => ({file: shownText(p.file), line: p.line, kind: p.kind,
    detail: shownText(p.detail)}));
  showReport(rows, (text) => navigator.clipboard.writeText(text));
});

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

// A file the core wrote, with the mode a desktop's umask gives (the binding sets one).
function readBack(path) {
  return core.FS.readFile(path);
}

// Writes the rewritten configuration over the one in the folder it was read from.
async function writeBack(handle, bytes) {
  if ((await handle.queryPermission({mode: 'readwrite'})) !== 'granted' &&
      (await handle.requestPermission({mode: 'readwrite'})) !== 'granted') {
    throw new Error(`${configName} may not be written.`);
  }
  const writable = await handle.createWritable();
  await writable.write(bytes);
  await writable.close();
}

$('save').addEventListener('click', async () => {
  // Over the file it came from, only once the person agrees, as in the window.
  if (configHandle && !(await askYesNo('上書きしますか？'))) return;
  // The core rewrites its copy in the in-memory file system; the person gets that copy, in the
  // folder it came from where the browser allows it, else as a download.
  const result = session.save(bytesOf(configPath));
  afterCall();
  if (!result.saved) {
    await showMessages([shownText(result.error)]);
    return;
  }
  if (!configHandle) {
    download(readBack(configPath), configName, 'text/plain');
    return;
  }
  try {
    await writeBack(configHandle, readBack(configPath));
  } catch (error) {
    await showMessages([`${configName} could not be saved: ${error.message || error}`]);
  }
});

$('copy').addEventListener('click', async () => {
  const blob = await new Promise((ok) => canvas.toBlob(ok, 'image/png'));
  try {
    await navigator.clipboard.write([new ClipboardItem({'image/png': blob})]);
  } catch (error) {
    await showMessages([`The picture could not be copied: ${error.message}`]);
  }
});

$('record').addEventListener('click', async () => {
  const answer = await chooseOne('Record Animation', ['5 seconds, GIF', '5 seconds, WebP',
    '30 seconds, GIF', '30 seconds, WebP']);
  if (answer < 0) return;
  const ms = answer < 2 ? 5000 : 30000;
  const ext = answer % 2 === 0 ? 'gif' : 'webp';
  const path = `/tmp/recording.${ext}`;
  // The set plays on from where the recording left it: the core has put its alarms off.
  const result = session.record(bytesOf(path), ms, zoom);
  afterCall();
  if (!result.written) {
    await showMessages([shownText(result.error)]);
    return;
  }
  download(readBack(path), `${configName.replace(/\.[^.]*$/, '')}.${ext}`, `image/${ext}`);
  core.FS.unlink(path);
  await showMessages(result.notes.map(shownText));
});

// ---- start ----

async function start() {
  core = await TavroCore();
  session = new core.Session();
  core.FS.mkdirTree('/sets');
  makeButtons($('sets'), 'Set', 10, (n) => session.selectSet(n));
  makeButtons($('groups'), 'Colour group', 10, (n) => session.selectGroup(n));
  updateButtons();
  if ('serviceWorker' in navigator && location.protocol !== 'file:') {
    navigator.serviceWorker.register('service-worker.js').catch(() => {});
  }
  const link = new URLSearchParams(location.search).get('open');
  if (link) await openFrom(() => entriesFromUrl(core.FS, link));
  else setState('empty');
}

// For tests and embedders: the session and the file system behind the page.
window.tavro = {get session() { return session; }, get core() { return core; }, byteString};

start();
