// Names as the person knows them. The page writes what it is given below a folder of its own in
// the in-memory file system, and the core unpacks an archive into a folder of its own; neither
// folder means anything to the person, who picked a folder, some files or an archive. So a file
// of a picked folder is shown by its path inside what was picked, and an archive's member as
// "archive.lzh:member" (as the core itself names an archive's configuration file), never as
// `/sets/2/...` or the unpack folder.
import {decodeByteString} from './text.js';

/**
 * Where the open's files are, as byte strings (one character a byte) like the core's paths.
 * @typedef {object} OpenPlaces
 * @property {string} folder     the folder the page wrote the given files into ('' for none)
 * @property {string} extracted  the folder the open archive was unpacked into ('' for none)
 * @property {string} archive    the archive's name as the person gave it (text, '' for none)
 */

/**
 * @param {string} path
 * @param {string} folder
 * @returns {string | null} what follows `folder/` in `path`, or null when it is not below it
 */
function below(path, folder) {
  if (!folder) return null;
  const prefix = folder.endsWith('/') ? folder : `${folder}/`;
  return path.startsWith(prefix) ? path.slice(prefix.length) : null;
}

/**
 * A file's name for the person, from its byte path in the in-memory file system.
 * @param {string} path  a byte string
 * @param {OpenPlaces} places
 * @returns {string}
 */
export function shownFileName(path, places) {
  const member = below(path, places.extracted);
  if (member !== null) return `${places.archive}:${decodeByteString(member)}`;
  const given = below(path, places.folder);
  if (given !== null) return decodeByteString(given);
  return decodeByteString(path);
}

/**
 * A message of the core with every internal path in it replaced by the name the person knows.
 * The folders are ASCII, so they are found in the bytes before anything is decoded; each piece
 * between them is decoded on its own terms.
 * @param {string} message  a byte string
 * @param {OpenPlaces} places
 * @returns {string}
 */
export function shownMessage(message, places) {
  /** @type {Array<[string, string]>} */
  const prefixes = [];
  const folderOf = (/** @type {string} */ f) => `${f.replace(/\/$/, '')}/`;
  if (places.extracted) prefixes.push([folderOf(places.extracted), `${places.archive}:`]);
  if (places.folder) prefixes.push([folderOf(places.folder), '']);
  let out = '';
  let rest = message;
  for (;;) {
    let at = -1;
    let found = prefixes[0];
    for (const entry of prefixes) {
      const i = rest.indexOf(entry[0]);
      if (i >= 0 && (at < 0 || i < at)) [at, found] = [i, entry];
    }
    if (at < 0) return out + decodeByteString(rest);
    out += decodeByteString(rest.slice(0, at)) + found[1];
    rest = rest.slice(at + found[0].length);
  }
}

/**
 * The last part of a path as given ('a/b/doll.lzh' gives 'doll.lzh').
 * @param {string} name
 * @returns {string}
 */
export function leafName(name) {
  return name.split('/').filter(Boolean).pop() ?? '';
}

/**
 * The document's title as the window's caption has it: an archive's file name in capitals (its
 * ASCII letters), else the configuration's file name as it is.
 * @param {string} name  what was opened, as the person gave it
 * @param {boolean} archive
 * @returns {string}
 */
export function documentTitle(name, archive) {
  const leaf = leafName(name);
  return archive ? leaf.replace(/[a-z]+/g, (s) => s.toUpperCase()) : leaf;
}

/**
 * The page's title, as the window's caption: the document's title and the application's, and,
 * after a load that met problems, how many.
 * @param {string} title  the document's title ('Untitled' for none)
 * @param {number} problems  the last load's problem count
 * @returns {string}
 */
export function pageTitle(title, problems) {
  const count = problems > 0 ? ` (${problems} load problem${problems === 1 ? '' : 's'}: Load Report)` : '';
  return `${title} - TAVRO32${count}`;
}
