// The page: one document driven through the core's session, as the window drives it. The core
// runs behind its client; this connects it and wires the page's modules to it: the core's events
// draw the picture, play the sounds, show the scripts' boxes and set the buttons.
import {connectCore} from './core-client.js';
import {byteString, shownText} from './files.js';
import {showWarnings} from './dialogs.js';
import {createState} from './state.js';
import {paint, setPageState, setZoom} from './stage.js';
import {openLink, wireOpening} from './opening.js';
import {wireInput} from './input.js';
import {updateButtons, wireCommands} from './commands.js';

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

async function start() {
  const params = new URLSearchParams(location.search);
  // Test hooks: a clock that stands still until window.tavro.advanceClock moves it, and an open
  // slowed down by the given ms a step.
  const client = await connectCore({clock: params.get('clock') === 'still' ? 'still' : undefined,
    slow: Number(params.get('slow')) || undefined});
  const state = createState(client);
  // A new set (or none) is shown at the smallest zoom, as in the window; the buttons follow the
  // core's command states.
  client.on('changed', (change) => {
    if (change.newSet && state.zoom !== state.limits.minZoom) setZoom(state, state.limits.minZoom);
    if (change.states) updateButtons(change.states);
  });
  client.on('picture', (picture) => paint(state, picture));
  client.on('sound', (bytes) => playSound(state, bytes));
  client.on('box', (text) => showWarnings([shownText(text)]));
  wireCommands(state);
  wireOpening(state);
  wireInput(state);
  updateButtons(await client.call('states'));
  document.addEventListener('visibilitychange', () => client.setHidden(document.hidden));

  // For tests and embedders: the core behind the page.
  // `settled` resolves once what the calls before it drew is on the canvas.
  /** @type {any} */ (window).tavro = {client, byteString,
    advanceClock: (/** @type {number} */ ms) => client.advanceClock(ms),
    settled: () => client.settled()};

  if ('serviceWorker' in navigator && location.protocol !== 'file:') {
    navigator.serviceWorker.register('service-worker.js').catch(() => {});
  }
  const link = params.get('open');
  if (link) await openLink(state, link);
  else setPageState('empty');
}

start();
