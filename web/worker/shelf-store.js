// Writing the shelf, from a worker (only there may the page write files of the origin private
// file system in place, which every engine allows). A set is written whole before it is listed:
// its pack and its picture first, its description last; a write the storage refuses removes
// what it wrote, and a description is written into the slot that does not count, so that what
// was kept before is never lost or half-written.
import {
  entryIdOf, kMetaSlots, kPackFile, kShelfFolder, kShelfFull, newestMeta, nextMeta, packLayout,
} from '../shelf-format.js';

/**
 * A file to keep: its path (a byte string) and its bytes, read when they are needed, so that
 * only one file's copy is held at a time.
 * @typedef {{path: string, length: number, read: () => Uint8Array | Promise<Uint8Array>}} KeptFile
 * @typedef {{bytes: Uint8Array, type: string, width: number, height: number}} Thumbnail
 * @typedef {import('../shelf-format.js').ShelfMeta} ShelfMeta
 */

/** @returns {Promise<FileSystemDirectoryHandle>} */
export async function shelfFolder() {
  const root = await navigator.storage.getDirectory();
  return root.getDirectoryHandle(kShelfFolder, {create: true});
}

/**
 * Writes `chunks` as the whole of file `name`, in place.
 * @param {FileSystemDirectoryHandle} dir
 * @param {string} name
 * @param {Iterable<Uint8Array> | AsyncIterable<Uint8Array>} chunks
 */
async function writeWhole(dir, name, chunks) {
  const handle = /** @type {any} */ (await dir.getFileHandle(name, {create: true}));
  if (typeof handle.createSyncAccessHandle !== 'function') {
    const writable = await handle.createWritable();
    try {
      for await (const chunk of chunks) await writable.write(chunk);
      await writable.close();
    } catch (error) {
      await writable.abort?.().catch(() => {});
      throw error;
    }
    return;
  }
  const access = await handle.createSyncAccessHandle();
  try {
    access.truncate(0);
    let at = 0;
    for await (const chunk of chunks) {
      const wrote = access.write(chunk, {at});
      // A write the storage took only part of is one it had no room for.
      if (wrote !== chunk.byteLength) throw new DOMException('The storage is full', 'QuotaExceededError');
      at += wrote;
    }
    access.flush();
  } finally {
    access.close();
  }
}

/** @param {FileSystemDirectoryHandle} dir @param {string} name */
async function readText(dir, name) {
  try {
    return await (await (await dir.getFileHandle(name)).getFile()).text();
  } catch {
    return null;
  }
}

/** @param {FileSystemDirectoryHandle} dir */
export async function readMeta(dir) {
  return newestMeta(await Promise.all(kMetaSlots.map((slot) => readText(dir, slot))));
}

/**
 * Writes a set's description into the slot that does not count.
 * @param {FileSystemDirectoryHandle} dir
 * @param {Omit<ShelfMeta, 'v' | 'seq'>} fields
 */
async function writeMeta(dir, fields) {
  const {meta: before, next} = await readMeta(dir);
  const meta = nextMeta(fields, before);
  await writeWhole(dir, kMetaSlots[next], [new TextEncoder().encode(JSON.stringify(meta))]);
  return meta;
}

/** @param {unknown} error */
function isFull(error) {
  const name = /** @type {{name?: string}} */ (error)?.name;
  return name === 'QuotaExceededError' || name === 'NS_ERROR_DOM_QUOTA_REACHED';
}

/**
 * What the shelf may still take: what the browser grants less what is kept, and no more than
 * `limit` in all where one is set (a test's small storage).
 * @param {number} [limit]
 */
async function room(limit) {
  const {usage = 0, quota = Infinity} = (await navigator.storage.estimate?.()) || {};
  return Math.min(quota, limit ?? Infinity) - usage;
}

/**
 * The files' fingerprint: the same files, the same target: the same set.
 * @param {KeptFile[]} files
 * @param {string} target
 */
async function keyOf(files, target) {
  const parts = [new TextEncoder().encode(`${target}\n`)];
  for (const file of files) {
    parts.push(new TextEncoder().encode(`${file.path}\n${file.length}\n`));
    parts.push(new Uint8Array(await crypto.subtle.digest('SHA-256', /** @type {any} */ (await file.read()))));
  }
  const all = new Uint8Array(parts.reduce((n, p) => n + p.length, 0));
  let at = 0;
  for (const p of parts) {
    all.set(p, at);
    at += p.length;
  }
  const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', all));
  return [...digest].map((b) => b.toString(16).padStart(2, '0')).join('');
}

/**
 * Replaces the set's thumbnail: the new one under a name of its own, then the description that
 * names it; the old one goes last.
 * @param {FileSystemDirectoryHandle} dir
 * @param {ShelfMeta} meta
 * @param {Thumbnail | null} thumb
 */
async function writeThumb(dir, meta, thumb) {
  if (!thumb) return meta.thumb;
  const file = `thumb-${meta.seq + 1}.${thumb.type === 'image/png' ? 'png' : 'rgba'}`;
  await writeWhole(dir, file, [thumb.bytes]);
  return {file, type: thumb.type, width: thumb.width, height: thumb.height};
}

/**
 * Puts a set on the shelf, or, where the same files are kept already, notes that it was opened
 * now and takes its new picture. Returns its description.
 * @param {{files: KeptFile[], target: string, choice: string, name: string,
 *   source: import('../shelf-format.js').ShelfSource, link: string, thumb: Thumbnail | null,
 *   limit?: number, now?: number}} set
 * @returns {Promise<ShelfMeta>}
 */
export async function keepSet(set) {
  const now = set.now ?? Date.now();
  const shelf = await shelfFolder();
  const key = await keyOf(set.files, set.target);
  const id = entryIdOf(key);
  const same = await shelf.getDirectoryHandle(id).catch(() => null);
  if (same) {
    const {meta} = await readMeta(same);
    if (meta) return touchSet(same, meta, set.thumb, now, set.choice);
    // What a write that never ended left: written again.
    await shelf.removeEntry(id, {recursive: true});
  }
  const size = set.files.reduce((n, f) => n + f.length, 0);
  if ((await room(set.limit)) < size + (set.thumb?.bytes.length || 0) + 4096) throw new Error(kShelfFull);
  const dir = await shelf.getDirectoryHandle(id, {create: true});
  try {
    const files = set.files;
    async function* packed() {
      for (const file of files) yield await file.read();
    }
    await writeWhole(dir, kPackFile, packed());
    const thumb = set.thumb ? await writeThumb(dir, /** @type {ShelfMeta} */ ({seq: 0}), set.thumb) : null;
    return await writeMeta(dir, {id, name: set.name, source: set.source, link: set.link, key, added: now,
      opened: now, size, files: packLayout(files), target: set.target, choice: set.choice, thumb, saved: null});
  } catch (error) {
    await shelf.removeEntry(id, {recursive: true}).catch(() => {});
    throw isFull(error) ? new Error(kShelfFull) : error;
  }
}

/**
 * A kept set opened again: when, and its picture as it opened.
 * @param {FileSystemDirectoryHandle} dir
 * @param {ShelfMeta} meta
 * @param {Thumbnail | null} thumb
 * @param {number} now
 * @param {string} [choice]
 */
async function touchSet(dir, meta, thumb, now, choice) {
  let picture = meta.thumb;
  try {
    picture = await writeThumb(dir, meta, thumb);
  } catch {
    // No room for the new picture: the old one stays.
  }
  const written = await writeMeta(dir, {...meta, opened: now, thumb: picture, choice: choice || meta.choice});
  if (meta.thumb && picture && meta.thumb.file !== picture.file) await dir.removeEntry(meta.thumb.file).catch(() => {});
  return written;
}

/**
 * Notes that the kept set `id` was opened now, with its new picture.
 * @param {string} id
 * @param {Thumbnail | null} thumb
 * @param {string} choice
 */
export async function reopenedSet(id, thumb, choice) {
  const dir = await (await shelfFolder()).getDirectoryHandle(id);
  const {meta} = await readMeta(dir);
  if (!meta) throw new Error('This set is no longer on the shelf.');
  return touchSet(dir, meta, thumb, Date.now(), choice);
}

/**
 * Keeps a saved configuration with the set: what the set opens with from now on in place of
 * the kept file at `path`. The old saved one goes once the description names the new one.
 * @param {string} id
 * @param {string} path
 * @param {Uint8Array} bytes
 * @param {number} [limit]
 */
export async function keepSaved(id, path, bytes, limit) {
  const dir = await (await shelfFolder()).getDirectoryHandle(id);
  const {meta} = await readMeta(dir);
  if (!meta) throw new Error('This set is no longer on the shelf.');
  if (!meta.files.some((f) => f.path === path)) throw new Error('The saved file is not one of the set\'s.');
  if ((await room(limit)) < bytes.length + 4096) throw new Error(kShelfFull);
  const file = `saved-${meta.seq + 1}.bin`;
  try {
    await writeWhole(dir, file, [bytes]);
    const written = await writeMeta(dir, {...meta, saved: {file, path}});
    if (meta.saved) await dir.removeEntry(meta.saved.file).catch(() => {});
    return written;
  } catch (error) {
    await dir.removeEntry(file).catch(() => {});
    throw isFull(error) ? new Error(kShelfFull) : error;
  }
}
