// The worker that owns the core: the page posts it calls and files, it answers each in order and
// posts what changed as events. A long call (an open) runs here without holding up the page.
//
// A classic worker, because the core's module is a classic script; the engine is a module,
// imported once the core's script is in.
/* global TavroCore */
importScripts('../tavro-core.js');

/** @type {{postMessage(message: unknown, transfer?: Transferable[]): void,
 *   onmessage: ((event: MessageEvent) => void) | null}} */
const scope = /** @type {any} */ (self);

/**
 * What the page posts: one start, then requests answered by their id.
 * @typedef {{kind: 'start', options: {clock?: string, slow?: number}}} Start
 * @typedef {{kind: 'share', closed?: Int32Array<SharedArrayBuffer>}} Share
 * @typedef {{kind: 'call'|'writeFiles'|'fetchFiles'|'readFile'|'setHidden'|'advanceClock'
 *   |'boxClosed'|'spare'|'shelve'|'keepSaved', id: number, name?: string, args: any[]}} WorkerRequest
 */

/** @type {Promise<import('./core-engine.js').Engine>|null} */
let starting = null;
/** @type {(closed: Int32Array<SharedArrayBuffer>|undefined) => void} */
let shared = () => {};
/**
 * The memory the page shares, once it has come (or failed to).
 * @type {Promise<Int32Array<SharedArrayBuffer>|undefined>}
 */
const sharing = new Promise((resolve) => { shared = resolve; });
self.addEventListener('messageerror', () => shared(undefined));
/** @type {Map<number, () => void>} boxes shown without blocking, by their number */
const openBoxes = new Map();
let boxCount = 0;

/**
 * @param {Start['options']} options
 */
async function start(options) {
  const {createEngine} = await import('./core-engine.js');
  // Where the page marks a box closed, when memory is shared.
  const closed = await sharing;
  /** @type {import('./core-engine.js').Emit} */
  const emit = (name, payload, transfer = []) => {
    if (name !== 'box') {
      scope.postMessage({event: name, payload}, transfer);
      return;
    }
    const box = ++boxCount;
    scope.postMessage({event: 'box', payload, box, blocking: false});
    return new Promise((resolve) => openBoxes.set(box, () => resolve(undefined)));
  };
  /** @type {import('./core-engine.js').Engine} */
  let engine;
  // With shared memory the script waits inside "debug(" until its box is closed, as it does in
  // the window; the alarms that fall due meanwhile run in between, nested.
  const blockingBox = closed && ((/** @type {Uint8Array<ArrayBuffer>} */ text) => {
    const box = ++boxCount;
    const slot = box % closed.length;
    engine.showSoFar();
    scope.postMessage({event: 'box', payload: text, box, blocking: true});
    while (Atomics.load(closed, slot) !== box) {
      const delay = engine.waitLimit();
      const woke = Atomics.wait(closed, slot, Atomics.load(closed, slot), delay < 0 ? undefined : delay);
      if (woke === 'timed-out') engine.runDuePass();
    }
  });
  engine = await createEngine(TavroCore, emit, {
    clock: options.clock,
    slow: options.slow,
    locateFile: (name) => new URL(`../${name}`, location.href).href,
    blockingBox: blockingBox || undefined,
  });
  return engine;
}

/**
 * One request, answered in turn.
 * @param {WorkerRequest} data
 */
async function answer({id, kind, name, args}) {
  const {entriesFromLink} = await import('./remote-fetch.js');
  const {kUnpackLimit} = await import('./core-engine.js');
  const engine = await /** @type {Promise<import('./core-engine.js').Engine>} */ (starting);
  try {
    let result;
    if (kind === 'call') result = engine.call(/** @type {string} */ (name), args);
    else if (kind === 'writeFiles') result = await engine.writeFiles(args[0]);
    else if (kind === 'fetchFiles') {
      // A download holds no more than an archive may unpack: the tab holds both.
      const entries = await entriesFromLink(args[0], {limit: kUnpackLimit,
        progress: (payload) => scope.postMessage({event: 'progress', payload})});
      result = await engine.writeFiles(entries);
    }
    else if (kind === 'readFile') result = engine.readFile(args[0], args[1]);
    else if (kind === 'keepSaved') {
      const {keepSaved} = await import('./shelf-store.js');
      result = await keepSaved(args[0], args[1], args[2], args[3]);
    }
    else if (kind === 'setHidden') result = engine.setHidden(args[0]);
    else result = engine.advanceClock(args[0]);
    const transfer = result instanceof Uint8Array ? [result.buffer] : [];
    scope.postMessage({id, result}, transfer);
  } catch (error) {
    // Where the person can fetch the file by hand, when a link could not be.
    const link = /** @type {{link?: string}} */ (error).link || '';
    scope.postMessage({id, error: String(/** @type {Error} */ (error).message || error), link});
  }
}

// Requests are answered one after another, in the order they came, even where one waits for
// files to be read: the page's calls assume the order they were made in.
let turn = Promise.resolve();

scope.onmessage = (/** @type {MessageEvent<Start|Share|WorkerRequest>} */ {data}) => {
  if (data.kind === 'start') {
    starting = start(/** @type {Start} */ (data).options);
    starting.then(
      (engine) => scope.postMessage({ready: true, constants: engine.constants, blocking: engine.blocking}),
      (error) => scope.postMessage({ready: false, error: String(error)}));
    return;
  }
  if (data.kind === 'share') {
    shared(/** @type {Share} */ (data).closed);
    return;
  }
  // A box that did not stop the script: what waits for it is not in the queue.
  const request = /** @type {WorkerRequest} */ (data);
  // A drawn picture's buffer, for a later one.
  if (request.kind === 'spare') {
    starting?.then((engine) => engine.spare(request.args[0]));
    return;
  }
  if (request.kind === 'boxClosed') {
    openBoxes.get(request.args[0])?.();
    openBoxes.delete(request.args[0]);
    return;
  }
  if (request.kind === 'shelve') {
    // The set is taken in turn; the keeping goes on beside the calls after it.
    turn = turn.then(async () => {
      const engine = await /** @type {Promise<import('./core-engine.js').Engine>} */ (starting);
      /** @type {Promise<unknown>} */
      let keeping;
      try {
        keeping = engine.shelve(request.args[0]);
      } catch (error) {
        keeping = Promise.reject(error);
      }
      keeping.then((result) => scope.postMessage({id: request.id, result}),
        (error) => scope.postMessage({id: request.id, error: String(error?.message || error)}));
    });
    return;
  }
  turn = turn.then(() => answer(request));
};
