// The page: one document driven through the core's session, as the window drives it. The core
// runs behind its client; this connects it and wires the page's modules to it: the core's events
// draw the picture, play the sounds, show the scripts' boxes and set the buttons.
import {connectCore} from './core-client.js';
import {byteString, entriesFromDrop, entriesFromFiles, shownText} from './files.js';
import {showWarnings} from './dialogs.js';
import {createState} from './state.js';
import {applyZoom, followStageSize, labelStage, paint, setPageState, showLoaded, startOver} from './stage.js';
import {wireToolbar} from './toolbar.js';
import {wireFullscreen} from './fullscreen.js';
import {openFrom, openKept, openLink, wireOpening} from './opening.js';
import {wireShelf} from './shelf.js';
import {wireInput} from './input.js';
import {runCommand, wireCommands} from './commands.js';
import {updateButtons} from './document.js';
import {applyScene, noteScene, wireSceneLinks} from './scene.js';
import {openShared, wireLaunch} from './launch.js';
import {enterEmbedMode, wireEmbedMode} from './embed-mode.js';

/**
 * A new sound stops the one playing, as in the window.
 * @param {import('./state.js').PageState} state
 * @param {Uint8Array<ArrayBuffer>} bytes
 */
function playSound(state, bytes) {
  state.sound?.pause();
  const url = URL.createObjectURL(new Blob([bytes]));
  const audio = new Audio(url);
  state.sound = audio;
  const done = () => {
    URL.revokeObjectURL(url);
    if (state.sound === audio) state.sound = null;
  };
  audio.onended = done;
  audio.onpause = done;
  audio.play().catch(done);
}

/**
 * Until the core has loaded, what the person picks or drops waits for it rather than going
 * nowhere: each choice is kept as the open it asks for, and made once the page is wired.
 * @returns {{stop: () => Array<(state: import('./state.js').PageState) => Promise<void>>}}
 */
function holdEarlyChoices() {
  /** @type {Array<(state: import('./state.js').PageState) => Promise<void>>} */
  const held = [];
  const inputs = ['open-files', 'open-folder'].map((id) => /** @type {HTMLInputElement} */ (document.getElementById(id)));
  const stage = /** @type {HTMLElement} */ (document.getElementById('stage'));
  /** @param {Event} e */
  const picked = (e) => {
    const input = /** @type {HTMLInputElement} */ (e.target);
    const files = [...(input.files || [])];
    const source = input.id === 'open-folder' ? 'folder' : 'files';
    input.value = '';
    if (files.length) held.push((state) => openFrom(state, () => entriesFromFiles(files), false, source));
  };
  /** @param {DragEvent} e */
  const dropped = (e) => {
    e.preventDefault();
    const gathering = entriesFromDrop(/** @type {DataTransfer} */ (e.dataTransfer));
    held.push((state) => openFrom(state, () => gathering, e.shiftKey, 'drop'));
  };
  /** @param {DragEvent} e */
  const over = (e) => e.preventDefault();
  for (const input of inputs) input.addEventListener('change', picked);
  stage.addEventListener('drop', dropped);
  stage.addEventListener('dragover', over);
  return {
    stop() {
      for (const input of inputs) input.removeEventListener('change', picked);
      stage.removeEventListener('drop', dropped);
      stage.removeEventListener('dragover', over);
      return held;
    },
  };
}

async function start() {
  const params = new URLSearchParams(location.search);
  const embedded = params.has('embed');
  if (embedded) enterEmbedMode();
  wireToolbar();
  const early = holdEarlyChoices();
  // Test hooks: a clock that stands still until window.tavro.advanceClock moves it, and an open
  // slowed down by the given ms a step.
  const client = await connectCore({clock: params.get('clock') === 'still' ? 'still' : undefined,
    slow: Number(params.get('slow')) || undefined});
  const state = createState(client);
  // Test hook: a shelf that holds no more than this many bytes, below what the browser grants.
  state.shelfLimit = Number(params.get('shelfLimit')) || undefined;
  // A new set (or none) is shown fitted to the stage, as the window fits itself to a new set;
  // the buttons follow the core's command states.
  client.on('changed', (change) => {
    if (change.newSet) startOver(state);
    noteScene(state, change);
    if (change.states) {
      updateButtons(change.states);
      showLoaded(state, change.states.loaded);
    }
  });
  client.on('picture', (picture) => paint(state, picture));
  client.on('sound', (bytes) => playSound(state, bytes));
  client.on('box', (text) => showWarnings([shownText(text)]));
  applyZoom(state);
  followStageSize(state);
  labelStage();
  wireFullscreen(state);
  wireCommands(state);
  wireOpening(state);
  wireInput(state, runCommand);
  wireSceneLinks(state);
  // An embedded player plays another site's set: nothing of it goes on the person's shelf.
  if (!embedded) state.shelf = wireShelf(state, (kept, files) => openKept(state, kept, files));
  if (embedded) wireEmbedMode();
  updateButtons(await client.call('states'));
  document.addEventListener('visibilitychange', () => client.setHidden(document.hidden));

  // For tests and embedders: the core behind the page.
  // `settled` resolves once what the calls before it drew is on the canvas.
  /** @type {any} */ (window).tavro = {client, byteString,
    advanceClock: (/** @type {number} */ ms) => client.advanceClock(ms),
    settled: () => client.settled(),
    // Resolves once the set open now is kept on the shelf (its description, or null).
    shelved: () => state.shelving};

  if ('serviceWorker' in navigator && location.protocol !== 'file:') {
    navigator.serviceWorker.register('service-worker.js').catch(() => {});
  }
  const waiting = early.stop();
  const link = params.get('open');
  if (link) {
    // The link's scene is in place before the set counts as shown.
    await openLink(state, link, () => applyScene(state, params, location.hash));
  } else if (params.has('shared')) {
    await openShared(state);
  } else if (!waiting.length) {
    setPageState('empty');
  }
  wireLaunch(state);
  for (const open of waiting) await open(state);
}

start();
