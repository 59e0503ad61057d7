// The page's side of the core: every call is asynchronous and answered in order, and what a call
// changed comes back as events (the picture's changed area, a sound, a script's "debug(" box,
// the progress of a long open, every change object), whether the core runs beside the page or
// in a worker of its own.
import {createEngine} from './worker/core-engine.js';

/**
 * @typedef {{width: number, height: number, area: import('./binding').Rect,
 *   image: ImageData|null}} Picture
 * @typedef {{clock?: 'still'}} ConnectOptions
 * @typedef {{
 *   picture: (picture: Picture) => void,
 *   sound: (bytes: Uint8Array) => void,
 *   box: (text: Uint8Array) => Promise<unknown>,
 *   progress: (progress: import('./worker/core-engine.js').ProgressEvent) => void,
 *   changed: (change: import('./worker/core-engine.js').ChangedEvent) => void,
 * }} Listeners
 */

/**
 * The picture's area as ImageData over the very buffer that came across: the one copy the main
 * thread makes is putImageData's.
 * @param {import('./worker/core-engine.js').PictureEvent} event
 * @returns {Picture}
 */
export function pictureOf({width, height, area, data}) {
  const w = area.right - area.left;
  const h = area.bottom - area.top;
  const image = w > 0 && h > 0 ? new ImageData(data, w, h) : null;
  return {width, height, area, image};
}

/**
 * Starts the core and returns its client.
 * @param {ConnectOptions} [options]
 */
export async function connectCore(options = {}) {
  /** @type {Partial<Listeners>} */
  const listeners = {};
  /** @type {import('./worker/core-engine.js').Emit} */
  const emit = (name, payload) => {
    const listener = /** @type {any} */ (listeners)[name];
    if (name === 'picture') return listener?.(pictureOf(payload));
    if (name === 'box') return listener ? listener(payload) : Promise.resolve();
    return listener?.(payload);
  };
  const engine = await createEngine(/** @type {any} */ (globalThis).TavroCore, emit, options);
  // Calls queue behind each other as they would in a worker's message queue.
  let queue = Promise.resolve();
  /** @template T @param {() => T} work @returns {Promise<T>} */
  const inTurn = (work) => {
    const done = queue.then(work);
    queue = done.then(() => {}, () => {});
    return done;
  };
  return {
    constants: engine.constants,
    /**
     * @template {keyof Listeners} K
     * @param {K} name
     * @param {Listeners[K]} listener
     */
    on(name, listener) {
      listeners[name] = listener;
    },
    /** @param {string} name @param {...unknown} args @returns {Promise<any>} */
    call(name, ...args) {
      return inTurn(() => engine.call(name, args));
    },
    /** @param {import('./files.js').Entry[]} entries */
    writeFiles(entries) {
      return inTurn(() => engine.writeFiles(entries.map(({handle, ...rest}) => rest)));
    },
    /** @param {string} path @param {boolean} [remove] @returns {Promise<Uint8Array>} */
    readFile(path, remove = false) {
      return inTurn(() => engine.readFile(path, remove));
    },
    cancelOpen() {},
    /** @param {boolean} hidden */
    setHidden(hidden) {
      inTurn(() => engine.setHidden(hidden));
    },
    /** @param {number} ms */
    advanceClock(ms) {
      return inTurn(() => engine.advanceClock(ms));
    },
  };
}

/** @typedef {Awaited<ReturnType<typeof connectCore>>} CoreClient */
