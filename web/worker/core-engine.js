// The core and everything that must run beside it: its session, its in-memory file system, its
// clock and the one timeout armed for the next due alarm. After every call it hands on what the
// call changed (the picture's changed area, a sound, the scripts' "debug(" texts, the buttons'
// states) as events, so that whoever draws needs nothing but those events.
import {writeEntries} from '../files.js';
import {shelveOpenSet} from './shelf-keep.js';

/** @typedef {import('../binding').CoreModule} CoreModule */
/** @typedef {import('../binding').Session} Session */
/** @typedef {import('../binding').Change} Change */
/** @typedef {import('../binding').CommandStates} CommandStates */

/**
 * What an event carries, by its name.
 * @typedef {{width: number, height: number, area: import('../binding').Rect,
 *   data: Uint8ClampedArray<ArrayBuffer>}} PictureEvent
 * @typedef {{phase: 'unpack'|'cels'|'download', count: number, total: number}} ProgressEvent
 * @typedef {Change & {states?: CommandStates}} ChangedEvent
 */

/**
 * Sends one event; for 'box' it returns a promise that settles once the box is closed.
 * @callback Emit
 * @param {string} name
 * @param {any} payload
 * @param {Transferable[]} [transfer]
 * @returns {Promise<unknown>|void}
 */

/**
 * What an archive may unpack into the tab's memory in all: a phone's tab holds the unpacked set
 * and the archive beside it, and the largest sets known unpack to well under this.
 */
export const kUnpackLimit = 256 * 1024 * 1024;

// How many drawn pictures' buffers the engine keeps for later ones.
const kSpares = 3;

// Calls that only ask: nothing changes behind them, so nothing is handed on after them.
const QUERIES = new Set(['states', 'holdsObject', 'tickCount', 'nextTimerPassDelay',
  'informationText', 'inspect', 'loadReport', 'extractedFolder', 'objectPositions', 'thumbnail', 'exportSet']);

// Calls the page must not make itself: the engine owns the picture, the sounds and the alarms.
const OWN = new Set(['takePicture', 'pixels', 'takeSounds', 'takeDebugTexts', 'runTimerPass',
  'delayAlarms', 'delete']);

/**
 * @param {(options: object) => Promise<CoreModule>} loadCore the module's factory
 * @param {Emit} emit
 * @param {{clock?: string, slow?: number, locateFile?: (name: string) => string,
 *   blockingBox?: (text: Uint8Array<ArrayBuffer>) => void}} [options]
 */
export async function createEngine(loadCore, emit, options = {}) {
  const still = options.clock === 'still';
  let stillNow = 0;
  const core = await loadCore(options.locateFile ? {locateFile: options.locateFile} : {});
  // The binding's hooks, read by the core at each use. A clock that stands still until a test
  // moves it makes pictures that match tavro-render's, which shows a set as it opens.
  if (still) core.tavroNow = () => stillNow;
  const slow = options.slow || 0;
  // Tests make an open long with a small set: each step of it takes `slow` ms more, asleep where
  // the worker can sleep (so that the test's machine stays free for the page), else busy.
  const nap = slow && typeof SharedArrayBuffer === 'function' && globalThis.crossOriginIsolated
    ? new Int32Array(new SharedArrayBuffer(4)) : null;
  core.tavroProgress = (phase, count, total) => {
    emit('progress', {phase, count, total});
    if (nap) Atomics.wait(nap, 0, 0, slow);
    else for (const end = performance.now() + slow; performance.now() < end;);
  };
  const session = new core.Session();
  session.setUnpackLimit(kUnpackLimit);
  core.FS.mkdirTree('/sets');

  let alarm = 0;          // the timeout armed for the next due alarm
  let held = 0;           // "debug(" boxes open without blocking the script: alarms wait
  let hiddenSince = -1;
  let folders = 0;        // the folders written for opens, /sets/1 on
  let sentSize = [-1, -1]; // the picture's size as last sent
  let starting = false;    // inside the set's start, which composes its first picture at its end
  /** @type {ArrayBuffer[]} pictures' buffers the page has drawn and handed back */
  const spares = [];
  const now = () => session.tickCount();

  function disarm() {
    clearTimeout(alarm);
    alarm = 0;
  }

  function armAlarm() {
    disarm();
    if (still || hiddenSince >= 0 || held) return;
    const delay = session.nextTimerPassDelay(now());
    if (delay < 0) return;
    alarm = setTimeout(() => {
      alarm = 0;
      afterCall(session.runTimerPass(now()));
    }, delay);
  }

  // The changed area as its own buffer, copied out of the module's memory and handed over whole:
  // the page draws it as it comes, and hands the buffer back for a later picture, so that a drag's
  // steps copy into memory already in use rather than into fresh pages each time. Nothing is sent
  // while nothing changed.
  function sendPicture() {
    const picture = session.takePicture();
    const {width, height, area} = picture;
    const w = Math.max(0, area.right - area.left);
    const h = Math.max(0, area.bottom - area.top);
    if (w * h === 0 && width === sentSize[0] && height === sentSize[1]) return;
    sentSize = [width, height];
    const fits = spares.findIndex((b) => b.byteLength >= w * h * 4);
    const into = fits >= 0 ? spares.splice(fits, 1)[0] : new ArrayBuffer(w * h * 4);
    const data = w * h > 0 ? copyArea(picture, session.pixels(), into) : new Uint8ClampedArray(0);
    emit('picture', {width, height, area, data}, [data.buffer]);
  }

  // A box that does not stop the script (no way to wait here): the alarms wait until it is
  // closed, and then run at the present tick, late ones catching up.
  function holdUntilClosed(/** @type {Promise<unknown>[]} */ closed) {
    ++held;
    disarm();
    Promise.all(closed).then(() => {
      --held;
      armAlarm();
    });
  }

  /** @param {Change} [change] */
  function afterCall(change) {
    /** @type {ChangedEvent} */
    const changed = change ? {...change} : /** @type {ChangedEvent} */ ({});
    if (!change || change.commandsChanged) changed.states = session.states();
    emit('changed', changed);
    sendPicture();
    for (const sound of session.takeSounds()) emit('sound', sound, [sound.buffer]);
    const texts = session.takeDebugTexts();
    if (texts.length) holdUntilClosed(texts.map((t) => /** @type {Promise<unknown>} */ (emit('box', t))));
    armAlarm();
  }

  if (options.blockingBox) {
    // The script waits inside the call until the box is closed.
    core.tavroDebugText = options.blockingBox;
  }

  return {
    constants: {minZoom: core.minZoom, maxZoom: core.maxZoom, maxChosenZoom: core.maxChosenZoom},
    /** Whether a script's box stops the script until it is closed. */
    blocking: Boolean(options.blockingBox),

    /**
     * Any of the session's calls by its name; what the binding returns.
     * @param {string} name
     * @param {unknown[]} args
     */
    call(name, args) {
      if (OWN.has(name) || typeof (/** @type {any} */ (session))[name] !== 'function') {
        throw new Error(`no such call: ${name}`);
      }
      // The old set's alarms end with it; the new set's are armed once it starts.
      if (name === 'open') disarm();
      // The set's picture is composed only once its start is over: a box its start opens shows
      // over no picture, not over the old set's or a black one.
      if (name === 'startSet' && options.blockingBox) {
        sentSize = [0, 0];
        emit('picture', {width: 0, height: 0, area: {left: 0, top: 0, right: 0, bottom: 0},
          data: new Uint8ClampedArray(0)});
      }
      starting = name === 'startSet';
      let result;
      try {
        result = /** @type {any} */ (session)[name](...args);
      } finally {
        starting = false;
      }
      if (!QUERIES.has(name) && name !== 'open') {
        afterCall(result && typeof result === 'object' && 'repaint' in result ? result : undefined);
      }
      return result;
    },

    /**
     * Writes one open's files into a folder of their own, removing the earlier opens' folders:
     * what the core still needs of them it has unpacked or read already.
     * @param {import('../files.js').Entry[]} entries
     */
    async writeFiles(entries) {
      for (let n = 1; n <= folders; ++n) {
        const old = `/sets/${n}`;
        if (core.FS.analyzePath(old).exists) removeTree(core.FS, old);
      }
      const folder = `/sets/${++folders}`;
      core.FS.mkdirTree(folder);
      return writeEntries(core.FS, folder, entries);
    },

    /**
     * Keeps the set open now on the shelf, with the core's thumbnail of its picture.
     * @param {import('./shelf-keep.js').ShelveRequest} request
     */
    shelve(request) {
      return shelveOpenSet(/** @type {any} */ (core.FS), /** @type {any} */ (session), request);
    },

    /** @param {string} path @param {boolean} [remove] */
    readFile(path, remove = false) {
      const bytes = core.FS.readFile(path);
      if (remove) core.FS.unlink(path);
      return bytes;
    },

    /** The tab hidden: play pauses, and the alarms wait as long as it was hidden. */
    setHidden(/** @type {boolean} */ hidden) {
      if (hidden) {
        if (hiddenSince < 0) hiddenSince = now();
        disarm();
      } else if (hiddenSince >= 0) {
        session.delayAlarms((now() - hiddenSince) >>> 0);
        hiddenSince = -1;
        armAlarm();
      }
    },

    /**
     * A picture's buffer back from the page, drawn: a later picture that fits is copied into it.
     * A few are kept, the largest first given up.
     * @param {ArrayBuffer} buffer
     */
    spare(buffer) {
      spares.push(buffer);
      spares.sort((a, b) => a.byteLength - b.byteLength);
      if (spares.length > kSpares) spares.pop();
    },

    /** Sends the picture as the script waiting for its box has left it so far. */
    showSoFar() {
      if (!starting) sendPicture();
    },

    /** How long a blocked script may wait before an alarm is due: -1 for as long as it likes. */
    waitLimit() {
      return still || hiddenSince >= 0 ? -1 : session.nextTimerPassDelay(now());
    },

    /** Runs the timer pass that is due, from inside a script that waits for its box. */
    runDuePass() {
      afterCall(session.runTimerPass(now()));
    },

    /** With the still clock: moves it on by `ms`, running each pass at the tick it falls due. */
    advanceClock(/** @type {number} */ ms) {
      let left = ms;
      for (let passes = 0; passes < 100000; ++passes) {
        const delay = session.nextTimerPassDelay(now());
        if (delay < 0 || delay > left) break;
        stillNow += delay;
        left -= delay;
        afterCall(session.runTimerPass(now()));
      }
      stillNow += left;
    },
  };
}

// The changed area, copied straight out of the module's memory into the buffer the worker hands
// to the page: the only copy a picture makes before the canvas's own. The core gives the area as
// the canvas takes it (red, green, blue, opaque): true colour in the map's own rows, which lie
// further apart than the area is wide, and 256 colours looked up into rows of the area's width.
/**
 * @param {{area: import('../binding').Rect, rowBytes: number}} picture
 * @param {Uint8Array} pixels the area's pixels from its top left one, `rowBytes` apart a row
 * @param {ArrayBuffer} [into] where to put them, from its start (it may be larger)
 * @returns {Uint8ClampedArray<ArrayBuffer>} the area's pixels, four bytes each, rows without gaps
 */
export function copyArea({area, rowBytes}, pixels, into) {
  const w = Math.max(0, area.right - area.left);
  const h = Math.max(0, area.bottom - area.top);
  const row = w * 4;
  // Through a Uint8Array, as the module's view is one: a set between arrays of one kind is a
  // plain copy, while one into a Uint8ClampedArray may go value by value.
  const buffer = into && into.byteLength >= row * h ? into : new ArrayBuffer(row * h);
  const out = new Uint8Array(buffer, 0, row * h);
  if (rowBytes === row) {
    out.set(pixels.subarray(0, row * h));
  } else {
    for (let y = 0; y < h; ++y) out.set(pixels.subarray(y * rowBytes, y * rowBytes + row), y * row);
  }
  return new Uint8ClampedArray(buffer, 0, row * h);
}

/** @typedef {Awaited<ReturnType<typeof createEngine>>} Engine */

/**
 * Removes a folder and everything below it.
 * @param {import('../binding').FileSystem} FS
 * @param {string} path
 */
export function removeTree(FS, path) {
  for (const name of FS.readdir(path)) {
    if (name === '.' || name === '..') continue;
    const child = `${path}/${name}`;
    if (FS.isDir(FS.stat(child).mode)) removeTree(FS, child);
    else FS.unlink(child);
  }
  FS.rmdir(path);
}
