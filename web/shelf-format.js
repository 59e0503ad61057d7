// How the shelf keeps a set in the browser's own storage (the origin private file system), for
// the page, which lists and removes, and for the workers, which write. Each set is a folder of
// its own below "shelf": its files packed as they came into one file, its first picture, a
// configuration saved since, and its description twice over (two slots written in turn), so
// that a write the browser cuts short never leaves a set without a description it can read.

/** The folder of the origin private file system the shelf lives in. */
export const kShelfFolder = 'shelf';
/** A set's files, one after another, as the description's `files` lists them. */
export const kPackFile = 'files.bin';
/** The two slots of a set's description: the one with the higher `seq` counts. */
export const kMetaSlots = ['meta-0.json', 'meta-1.json'];
/** The side, in pixels, the thumbnail fits into. */
export const kThumbnailSize = 192;
/** A folder without a description whose files are older than this is what a write that never ended left. */
export const kAbandonedMs = 60 * 60 * 1000;
const kVersion = 1;

/**
 * How a set came to the page.
 * @typedef {'files' | 'folder' | 'drop' | 'link' | 'shared' | 'launch'} ShelfSource
 */

/**
 * One kept file: its path below the set's folder as a byte string (one character a byte, as
 * the core names files), where its bytes lie in the pack and how many there are.
 * @typedef {{path: string, at: number, length: number}} PackedFile
 */

/**
 * A kept set's description.
 * @typedef {object} ShelfMeta
 * @property {number} v        the format's version
 * @property {number} seq      how many times it was written: the higher slot counts
 * @property {string} id       its folder's name
 * @property {string} name     the set's name as the page's title shows it
 * @property {ShelfSource} source
 * @property {string} link     the address it came from ('' for none)
 * @property {string} key      what it is: the same files opened again keep the one entry
 * @property {number} added    when it was put on the shelf (ms since 1970)
 * @property {number} opened   when it was last opened
 * @property {number} size     its files' bytes in all
 * @property {PackedFile[]} files
 * @property {string} target   the configuration or archive to open, a path among `files`
 * @property {string} choice   the configuration chosen inside an archive holding several ('' for none)
 * @property {{file: string, type: string, width: number, height: number} | null} thumb
 * @property {{file: string, path: string} | null} saved  a configuration saved since, and which
 *   of `files` it stands for
 */

/**
 * A set's folder is named for what it is (its key), so that the same files opened again find
 * their entry at once, however many the shelf holds.
 * @param {string} key  hexadecimal
 */
export function entryIdOf(key) {
  return `set-${key.slice(0, 32)}`;
}

/** Whether a folder of the shelf is one of its sets'. @param {string} name */
export const isEntryId = (name) => /^set-[0-9a-f]{32}$/.test(name);

/**
 * A description as read back, or null where it is not a whole one: a slot cut short, or one
 * written by something else.
 * @param {string} text
 * @returns {ShelfMeta | null}
 */
export function parseMeta(text) {
  /** @type {any} */
  let meta;
  try {
    meta = JSON.parse(text);
  } catch {
    return null;
  }
  if (!meta || meta.v !== kVersion || typeof meta.id !== 'string' || !Number.isFinite(meta.seq) ||
      typeof meta.name !== 'string' || typeof meta.target !== 'string' || !Array.isArray(meta.files)) {
    return null;
  }
  let end = 0;
  for (const f of meta.files) {
    if (typeof f?.path !== 'string' || !Number.isInteger(f.at) || !Number.isInteger(f.length) ||
        f.at !== end || f.length < 0) {
      return null;
    }
    end += f.length;
  }
  if (!meta.files.some((/** @type {PackedFile} */ f) => f.path === meta.target)) return null;
  return /** @type {ShelfMeta} */ (meta);
}

/**
 * The slot that counts among those read (null for one that could not be read), and the slot
 * the next write goes to.
 * @param {(string | null)[]} texts  the slots' texts, in kMetaSlots order
 * @returns {{meta: ShelfMeta | null, next: number}}
 */
export function newestMeta(texts) {
  /** @type {ShelfMeta | null} */
  let meta = null;
  let slot = -1;
  texts.forEach((text, n) => {
    const read = text === null ? null : parseMeta(text);
    if (read && (!meta || read.seq > meta.seq)) {
      meta = read;
      slot = n;
    }
  });
  return {meta, next: slot < 0 ? 0 : (slot + 1) % kMetaSlots.length};
}

/**
 * A description to write: `seq` one past the one it replaces.
 * @param {Omit<ShelfMeta, 'v' | 'seq'>} fields
 * @param {ShelfMeta | null} before
 * @returns {ShelfMeta}
 */
export function nextMeta(fields, before) {
  return {...fields, v: kVersion, seq: before ? before.seq + 1 : 1};
}

/**
 * The files packed one after another, in the order given, with where each lies.
 * @param {{path: string, length: number}[]} files
 * @returns {PackedFile[]}
 */
export function packLayout(files) {
  let at = 0;
  return files.map(({path, length}) => {
    const placed = {path, at, length};
    at += length;
    return placed;
  });
}

/**
 * The shelf as it is shown: the last opened first, only those whose names hold every word of
 * `search` (letters' case and width aside, so that ｄｏｌｌ finds doll).
 * @param {ShelfMeta[]} metas
 * @param {string} search
 */
export function shownEntries(metas, search = '') {
  const fold = (/** @type {string} */ s) => s.normalize('NFKC').toLowerCase();
  const words = fold(search).split(/\s+/).filter(Boolean);
  return metas.filter((m) => words.every((w) => fold(m.name).includes(w)))
    .sort((a, b) => b.opened - a.opened || (a.name < b.name ? -1 : a.name > b.name ? 1 : 0));
}

/**
 * A byte count as people read it.
 * @param {number} bytes
 */
export function shownSize(bytes) {
  if (bytes < 1024) return `${bytes} bytes`;
  if (bytes < 1024 * 1024) return `${Math.round(bytes / 1024)} KB`;
  if (bytes < 1024 * 1024 * 1024) return `${(bytes / (1024 * 1024)).toFixed(1)} MB`;
  return `${(bytes / (1024 * 1024 * 1024)).toFixed(1)} GB`;
}

/** Said when a set would not fit into what the browser lets the page keep. */
export const kShelfFull = 'The shelf is full: the browser keeps no more for this page. Remove ' +
  'sets from the shelf to make room; everything kept so far is as it was.';
