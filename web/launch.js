// Sets that come from outside the page: "Open with" of the installed app (the browser hands
// the files to launchQueue) and the share sheet (the service worker keeps what was shared, then
// opens the page with `?shared`, which takes the files and lets the cache go). Both open as
// picked files do.
import {entriesFromFiles} from './files.js';
import {openFrom} from './opening.js';

/** Where the service worker keeps shared files until the page takes them. */
export const kSharedCache = 'tavro-shared';

/**
 * @param {import('./state.js').PageState} state
 */
export function wireLaunch(state) {
  const queue = /** @type {any} */ (window).launchQueue;
  if (!queue?.setConsumer) return;
  queue.setConsumer(async (/** @type {{files?: FileSystemFileHandle[]}} */ params) => {
    const handles = params.files || [];
    if (!handles.length) return;
    const files = await Promise.all(handles.map((h) => h.getFile()));
    await openFrom(state, () => entriesFromFiles(files), false, 'launch');
  });
}

/**
 * The files the share sheet gave, in the order they were shared; the cache is emptied.
 * @returns {Promise<File[]>}
 */
export async function takeSharedFiles() {
  if (typeof caches === 'undefined') return [];
  const cache = await caches.open(kSharedCache);
  /** @type {File[]} */
  const files = [];
  for (const request of await cache.keys()) {
    const response = await cache.match(request);
    if (response) {
      const name = decodeURIComponent(response.headers.get('X-Tavro-Name') || 'shared');
      files.push(new File([await response.blob()], name));
    }
    await cache.delete(request);
  }
  return files;
}

/**
 * Opens what was shared, or says that nothing came.
 * @param {import('./state.js').PageState} state
 */
export async function openShared(state) {
  const files = await takeSharedFiles();
  await openFrom(state, () => entriesFromFiles(files), false, 'shared');
}
