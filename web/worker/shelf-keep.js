// What the workers put on the shelf: a set's files as the page wrote them into the core's file
// system, and the core's thumbnail of its first picture, made into a PNG where the worker can
// draw (else kept as its pixels).
import {kThumbnailSize} from '../shelf-format.js';
import {keepSet, reopenedSet} from './shelf-store.js';

/**
 * @typedef {import('./shelf-store.js').KeptFile} KeptFile
 * @typedef {import('./shelf-store.js').Thumbnail} Thumbnail
 */

/**
 * Every file below `folder`, by its path below it, in byte order.
 * @param {import('../binding').FileSystem} FS
 * @param {string} folder
 * @returns {KeptFile[]}
 */
export function filesBelow(FS, folder) {
  /** @type {KeptFile[]} */
  const out = [];
  /** @param {string} prefix */
  const walk = (prefix) => {
    const names = FS.readdir(`${folder}/${prefix}`).filter((n) => n !== '.' && n !== '..').sort();
    for (const name of names) {
      const path = `${prefix}${name}`;
      const full = `${folder}/${path}`;
      const stat = /** @type {{mode: number, size: number}} */ (FS.stat(full));
      if (FS.isDir(stat.mode)) walk(`${path}/`);
      else out.push({path, length: stat.size, read: () => FS.readFile(full)});
    }
  };
  walk('');
  return out;
}

/**
 * The core's thumbnail as a file: PNG where the worker can draw one, else its pixels as they are.
 * @param {{width: number, height: number, pixels: Uint8Array}} picture
 * @returns {Promise<Thumbnail | null>}
 */
export async function encodeThumbnail({width, height, pixels}) {
  if (!width || !height) return null;
  const copy = new Uint8ClampedArray(pixels);
  if (typeof OffscreenCanvas === 'function') {
    try {
      const canvas = new OffscreenCanvas(width, height);
      const context = /** @type {OffscreenCanvasRenderingContext2D} */ (canvas.getContext('2d'));
      context.putImageData(new ImageData(copy, width, height), 0, 0);
      const blob = await canvas.convertToBlob({type: 'image/png'});
      return {bytes: new Uint8Array(await blob.arrayBuffer()), type: 'image/png', width, height};
    } catch {
      // An engine that cannot draw here: the pixels themselves, drawn by the page.
    }
  }
  return {bytes: new Uint8Array(copy.buffer), type: 'image/x-rgba', width, height};
}

/**
 * The thumbnail of what the session shows now.
 * @param {{thumbnail?: (size: number) => {width: number, height: number, pixels: Uint8Array}}} session
 */
export async function thumbnailOf(session) {
  return session.thumbnail ? encodeThumbnail(session.thumbnail(kThumbnailSize)) : null;
}

/**
 * What the page asks to keep of the set it has just opened.
 * @typedef {object} ShelveRequest
 * @property {string} folder  where the page wrote the open's files
 * @property {string} target  the configuration or archive opened (a path below `folder`)
 * @property {string} choice  the configuration chosen inside the archive ('' for none)
 * @property {string} name    the set's name as the title shows it
 * @property {import('../shelf-format.js').ShelfSource} source
 * @property {string} link
 * @property {string} id      the kept set it was opened from ('' for none)
 * @property {number} [limit] the most the shelf may hold (a test's small storage)
 */

/**
 * Keeps the set open now: an archive alone, else everything the open was given (the
 * configuration's files lie among them). What it needs of the set (its picture, its files'
 * bytes) is taken before this returns, so that the keeping may go on beside later calls, a next
 * open's included.
 * @param {import('../binding').FileSystem} FS
 * @param {{thumbnail?: (size: number) => {width: number, height: number, pixels: Uint8Array}}} session
 * @param {ShelveRequest} request
 */
export function shelveOpenSet(FS, session, request) {
  const picture = session.thumbnail ? session.thumbnail(kThumbnailSize) : null;
  const archive = /\.(lzh|lha|zip)$/i.test(request.target);
  const files = request.id ? [] : filesBelow(FS, request.folder)
    .filter((f) => !archive || f.path === request.target)
    .map((f) => {
      const bytes = /** @type {Uint8Array} */ (f.read());
      return {path: f.path, length: bytes.length, read: () => bytes};
    });
  // One keeping after another: the same set opened twice in a row is still one entry.
  const kept = keeping.then(() => keepTaken(picture, files, request));
  keeping = kept.then(() => undefined, () => undefined);
  return kept;
}

/**
 * The keeping under way, which the next waits for.
 * @type {Promise<unknown>}
 */
let keeping = Promise.resolve();

/**
 * @param {{width: number, height: number, pixels: Uint8Array} | null} picture
 * @param {KeptFile[]} files
 * @param {ShelveRequest} request
 */
async function keepTaken(picture, files, request) {
  const thumb = picture ? await encodeThumbnail(picture) : null;
  if (request.id) return reopenedSet(request.id, thumb, request.choice);
  return keepSet({files, target: request.target, choice: request.choice, name: request.name,
    source: request.source, link: request.link, thumb, limit: request.limit});
}
