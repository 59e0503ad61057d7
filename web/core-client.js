// The page's side of the core: every call is asynchronous and answered in order, and what a call
// changed comes back as events (the picture's changed area, a sound, a script's "debug(" box,
// the progress of a long open, every change object). The core runs in a worker of its own
// (worker/core-worker.js), so that nothing it does holds up the page's drawing and input.
/**
 * @typedef {{width: number, height: number, area: import('./binding').Rect,
 *   image: ImageData|null}} Picture
 * @typedef {{clock?: 'still', slow?: number}} ConnectOptions
 * @typedef {{
 *   picture: (picture: Picture) => void,
 *   sound: (bytes: Uint8Array<ArrayBuffer>) => void,
 *   box: (text: Uint8Array<ArrayBuffer>) => Promise<unknown>,
 *   progress: (progress: import('./worker/core-engine.js').ProgressEvent) => void,
 *   changed: (change: import('./worker/core-engine.js').ChangedEvent) => void,
 * }} Listeners
 */

/**
 * The picture's area as ImageData over the very buffer that came across: the one copy the main
 * thread makes is putImageData's. The ImageData holds the pixels only while the 'picture' listener
 * runs: its buffer then goes back to the worker.
 * @param {import('./worker/core-engine.js').PictureEvent} event
 * @returns {Picture}
 */
export function pictureOf({width, height, area, data}) {
  const w = area.right - area.left;
  const h = area.bottom - area.top;
  const image = w > 0 && h > 0 ? new ImageData(data, w, h) : null;
  return {width, height, area, image};
}

/** What a cancelled open answers: nothing opened, nothing to say. */
const CANCELLED = {opened: false, cancelled: true, messages: [], choices: []};

/**
 * Starts the core in its worker and returns its client.
 * @param {ConnectOptions} [options]
 */
export async function connectCore(options = {}) {
  /** @type {Partial<Listeners>} */
  const listeners = {};
  /** @type {Map<number, {name: string, ok: (value: any) => void, fail: (error: Error) => void}>} */
  const pending = new Map();
  let nextId = 0;
  // Where the page marks a script's box closed while the script waits for it: only with shared
  // memory, which needs the page isolated from other sites. Without it the boxes queue and the
  // scripts go on behind them.
  const closed = globalThis.crossOriginIsolated && typeof SharedArrayBuffer === 'function'
    ? new Int32Array(new SharedArrayBuffer(64 * Int32Array.BYTES_PER_ELEMENT)) : undefined;
  /** @type {Worker} */
  let worker;
  /** @type {(() => void)[]} who waits for the worker to have answered everything asked before */
  let settling = [];
  let waitingBoxes = 0;  // scripts' boxes open that their scripts wait for

  /** @param {Worker} from @param {any} data */
  const onMessage = (from, data) => {
    if (from !== worker) return;  // a worker ended by a Cancel
    if (data.event === 'picture') {
      listeners.picture?.(pictureOf(data.payload));
      // Drawn: the buffer goes back to be copied into again.
      const {buffer} = data.payload.data;
      if (buffer.byteLength > 0) from.postMessage({kind: 'spare', args: [buffer]}, [buffer]);
    } else if (data.event === 'box') {
      const box = data.box;
      // A script that waits for its box answers nothing more until the box is closed: what it
      // drew so far has come.
      if (data.blocking) {
        ++waitingBoxes;
        for (const settled of settling.splice(0)) settled();
      }
      const shown = listeners.box ? listeners.box(data.payload) : Promise.resolve();
      shown.then(() => {
        if (from !== worker) return;
        if (data.blocking && closed) {
          --waitingBoxes;
          Atomics.store(closed, box % closed.length, box);
          Atomics.notify(closed, box % closed.length);
        } else {
          from.postMessage({kind: 'boxClosed', args: [box]});
        }
      });
    } else if (data.event) {
      /** @type {any} */ (listeners)[data.event]?.(data.payload);
    } else if (pending.has(data.id)) {
      const call = /** @type {NonNullable<ReturnType<typeof pending.get>>} */ (pending.get(data.id));
      pending.delete(data.id);
      if ('error' in data) call.fail(Object.assign(new Error(data.error), {link: data.link || ''}));
      else call.ok(data.result);
    }
  };

  /** @returns {Promise<any>} the worker's first answer */
  const spawn = () => {
    closed?.fill(0);
    waitingBoxes = 0;
    const made = new Worker(new URL('./worker/core-worker.js', import.meta.url));
    worker = made;
    const ready = new Promise((ok, fail) => {
      made.addEventListener('message', ({data}) => {
        if (!('ready' in data)) return;
        if (data.ready) ok(data);
        else fail(new Error(data.error));
      }, {once: true});
    });
    made.addEventListener('message', ({data}) => onMessage(made, data));
    made.addEventListener('error', (e) => console.error(e.message));
    made.postMessage({kind: 'start', options});
    // Some engines isolate the page yet cannot post shared memory: the worker is told so, and
    // its boxes then queue.
    try {
      made.postMessage({kind: 'share', closed});
    } catch {
      made.postMessage({kind: 'share', closed: undefined});
    }
    return ready;
  };

  /**
   * @param {string} kind
   * @param {string} name
   * @param {unknown[]} args
   * @param {Transferable[]} [transfer]
   * @returns {Promise<any>}
   */
  const request = (kind, name, args, transfer = []) => new Promise((ok, fail) => {
    const id = ++nextId;
    pending.set(id, {name, ok, fail});
    worker.postMessage({kind, id, name, args}, transfer);
  });

  const {constants, blocking} = await spawn();
  return {
    /** @type {{minZoom: number, maxZoom: number, maxChosenZoom: number}} */
    constants,
    /** Whether a script's box stops it until closed (else the boxes queue). */
    blocking: /** @type {boolean} */ (blocking),
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
      return request('call', name, args);
    },
    /**
     * Hands the gathered files to the worker, which writes them; the files' bytes are read
     * there. Handles stay on the page.
     * @param {import('./files.js').Entry[]} entries
     * @returns {Promise<import('./files.js').WrittenSet>}
     */
    writeFiles(entries) {
      const plain = entries.map(({handle, ...rest}) => rest);
      // Bytes already read (a link's) are handed over, not copied: a big archive's copy would
      // hold up the page.
      const buffers = new Set(plain.flatMap((e) => (e.data ? [e.data.buffer] : [])));
      return request('writeFiles', '', [plain], [...buffers]);
    },
    /**
     * Has the worker fetch what a link names (on this site or another that allows it) and write
     * it as writeFiles does; a refusal's error carries `link`, where the file can be downloaded.
     * @param {string} url
     * @returns {Promise<import('./files.js').WrittenSet>}
     */
    fetchFiles(url) {
      return request('fetchFiles', '', [url]);
    },
    /**
     * Keeps the set just opened on the shelf (or notes that a kept one was opened again).
     * @param {import('./worker/shelf-keep.js').ShelveRequest} what
     * @returns {Promise<import('./shelf-format.js').ShelfMeta>}
     */
    shelve(what) {
      return request('shelve', '', [what]);
    },
    /**
     * Keeps a saved configuration with the kept set `id`, in place of its file at `path`.
     * @param {string} id @param {string} path @param {Uint8Array<ArrayBuffer>} bytes @param {number} [limit]
     * @returns {Promise<import('./shelf-format.js').ShelfMeta>}
     */
    keepSaved(id, path, bytes, limit) {
      return request('keepSaved', '', [id, path, bytes, limit]);
    },
    /** @param {string} path @param {boolean} [remove] @returns {Promise<Uint8Array<ArrayBuffer>>} */
    readFile(path, remove = false) {
      return request('readFile', '', [path, remove]);
    },
    /**
     * Ends the open in progress as the window's Cancel does, leaving an empty document: the
     * worker is busy inside the open, so it is ended and a fresh one started in its place.
     */
    cancelOpen() {
      worker.terminate();
      for (const [id, call] of pending) {
        if (call.name === 'open') call.ok(CANCELLED);
        else call.fail(new Error('The open was cancelled.'));
        pending.delete(id);
      }
      spawn();
    },
    /**
     * Resolves once the worker has answered every call made before, or waits inside a script's
     * box: what those calls drew is then on its way to the canvas, ahead of this.
     * @returns {Promise<void>}
     */
    settled() {
      if (waitingBoxes) return Promise.resolve();
      return new Promise((ok) => {
        settling.push(ok);
        request('call', 'holdsObject', []).then(() => {
          settling = settling.filter((f) => f !== ok);
          ok();
        }, ok);
      });
    },
    /** @param {boolean} hidden */
    setHidden(hidden) {
      request('setHidden', '', [hidden]);
    },
    /** @param {number} ms */
    advanceClock(ms) {
      return request('advanceClock', '', [ms]);
    },
  };
}

/** @typedef {Awaited<ReturnType<typeof connectCore>>} CoreClient */
