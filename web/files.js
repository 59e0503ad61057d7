// Getting a set's files into the core's in-memory file system: from the file picker, a dropped
// folder or files, or a link. Every name is written as the bytes of its UTF-8 form, one
// character a byte (the core's path calls keep names as bytes), so the core's own lookup
// matches them exactly as it would on a Linux disk.

const ARCHIVE = /\.(lzh|lha|zip)$/i;
const CONFIG = /\.cnf$/i;

// The UTF-8 bytes of a name, one character a byte.
/** @param {string} name */
export function nameBytes(name) {
  return String.fromCharCode(...new TextEncoder().encode(name));
}

// Bytes as text for the person: UTF-8 where they are that, else Shift_JIS, as sets write them.
/** @param {Uint8Array|string} bytes */
export function shownText(bytes) {
  if (typeof bytes === 'string') return bytes;
  try {
    return new TextDecoder('utf-8', {fatal: true}).decode(bytes);
  } catch {
    return new TextDecoder('shift_jis').decode(bytes);
  }
}

// Bytes as a byte string, one character a byte.
/** @param {Uint8Array} bytes */
export function byteString(bytes) {
  let out = '';
  for (let i = 0; i < bytes.length; i += 4096) {
    out += String.fromCharCode.apply(null, /** @type {any} */ (bytes.subarray(i, i + 4096)));
  }
  return out;
}

// A byte string (one character a byte) as the Uint8Array the core takes.
/** @param {string} byteString @returns {Uint8Array<ArrayBuffer>} */
export function bytesOf(byteString) {
  return Uint8Array.from(byteString, (c) => c.charCodeAt(0));
}

/**
 * One file of a set as gathered: its path below what was picked or dropped, and its contents
 * as a File (which crosses to the worker without copying its bytes) or as bytes already read.
 * `handle` is the file in a folder the browser lets the page write back into; `first` puts a
 * linked configuration before any other the link fetched. A `raw` path is bytes already, one
 * character a byte, as a configuration names its files.
 * @typedef {{path: string, file?: Blob, data?: Uint8Array<ArrayBuffer>, handle?: FileSystemFileHandle,
 *   first?: boolean, raw?: boolean}} Entry
 */

/**
 * A file written for an open: its path in the file system (bytes) and its name as given.
 * @typedef {{path: string, name: string, depth: number, first?: boolean}} Written
 * @typedef {{folder: string, configs: Written[], archives: Written[]}} WrittenSet
 */

/**
 * The parts of a gathered path that name something: no empty, "." or ".." parts, so that
 * nothing is written outside the open's folder.
 * @param {string} path
 */
export function pathParts(path) {
  return path.split('/').filter((p) => p && p !== '.' && p !== '..');
}

/**
 * The shallowest first, then the linked one, then by name: a folder's own set before those
 * in its subfolders.
 * @param {Written} a
 * @param {Written} b
 */
export function openOrder(a, b) {
  return a.depth - b.depth || Number(Boolean(b.first)) - Number(Boolean(a.first)) ||
    (a.name < b.name ? -1 : a.name > b.name ? 1 : 0);
}

/**
 * Writes `entries` below `folder`; returns what to open, configuration files and archives each
 * in the order they are tried.
 * @param {import('./binding').FileSystem} FS
 * @param {string} folder
 * @param {Entry[]} entries
 * @returns {Promise<WrittenSet>}
 */
export async function writeEntries(FS, folder, entries) {
  /** @type {Written[]} */
  const configs = [];
  /** @type {Written[]} */
  const archives = [];
  for (const {path, file, data, first, raw} of entries) {
    const parts = raw ? pathParts(path) : pathParts(path).map(nameBytes);
    if (parts.length === 0) continue;
    const target = `${folder}/${parts.join('/')}`;
    if (parts.length > 1) FS.mkdirTree(`${folder}/${parts.slice(0, -1).join('/')}`);
    FS.writeFile(target, data ?? new Uint8Array(await /** @type {Blob} */ (file).arrayBuffer()));
    // A name given as bytes is shown as its bytes read (a link's Shift_JIS file name).
    const written = {path: target, depth: parts.length, name: raw ? shownText(bytesOf(path)) : path, first};
    if (CONFIG.test(path)) configs.push(written);
    else if (ARCHIVE.test(path)) archives.push(written);
  }
  configs.sort(openOrder);
  archives.sort(openOrder);
  return {folder, configs, archives};
}

/** @param {File} file @param {string} path @returns {Entry} */
function fileEntry(file, path) {
  return {path, file};
}

// Files from an <input type=file>, with their folder paths where a folder was picked.
/** @param {FileList|File[]} files @returns {Entry[]} */
export function entriesFromFiles(files) {
  return [...files].map((f) => fileEntry(f, f.webkitRelativePath || f.name));
}

// A folder picked through the browser's file system access: every file below it, each with its
// handle, so that the configuration can be written back.
/** @param {FileSystemDirectoryHandle} directory */
export async function entriesFromDirectory(directory) {
  /** @type {Entry[]} */
  const out = [];
  /** @param {any} folder @param {string} prefix */
  const walk = async (folder, prefix) => {
    for await (const [name, handle] of folder.entries()) {
      if (handle.kind === 'file') {
        out.push({...fileEntry(await handle.getFile(), prefix + name), handle});
      } else {
        await walk(handle, `${prefix}${name}/`);
      }
    }
  };
  await walk(directory, `${directory.name}/`);
  return out;
}

// Everything dropped: files, and folders walked through their entries.
/** @param {DataTransfer} dataTransfer @returns {Promise<Entry[]>} */
export async function entriesFromDrop(dataTransfer) {
  const roots = [...dataTransfer.items]
    .map((item) => (item.webkitGetAsEntry ? item.webkitGetAsEntry() : null))
    .filter(Boolean);
  if (roots.length === 0) return entriesFromFiles(dataTransfer.files);
  /** @type {Entry[]} */
  const out = [];
  /** @param {any} entry @param {string} prefix @returns {Promise<void>} */
  const walk = async (entry, prefix) => {
    if (entry.isFile) {
      const file = await new Promise((ok, fail) => entry.file(ok, fail));
      out.push(fileEntry(file, prefix + entry.name));
    } else if (entry.isDirectory) {
      const reader = entry.createReader();
      for (;;) {
        const batch = await new Promise((ok, fail) => reader.readEntries(ok, fail));
        if (batch.length === 0) break;
        for (const child of batch) await walk(child, `${prefix}${entry.name}/`);
      }
    }
  };
  for (const root of roots) await walk(root, '');
  return out;
}

/**
 * A configuration's name with its backslashes as '/', but not the second byte of a Shift_JIS
 * character, which may be 0x5C too (表 is 0x95 0x5C).
 * @param {string} byteName
 */
export function slashPath(byteName) {
  let out = '';
  for (let i = 0; i < byteName.length; ++i) {
    const c = byteName.charCodeAt(i);
    if ((c >= 0x81 && c <= 0x9f) || (c >= 0xe0 && c <= 0xfc)) {
      out += byteName.slice(i, i + 2);
      ++i;
    } else {
      out += c === 0x5c ? '/' : byteName[i];
    }
  }
  return out;
}

// The files a configuration names (palettes, cels, sounds), as byte strings with '/' between
// folders: what a link to a .cnf must fetch from beside it.
/** @param {Uint8Array} text */
export function namedFiles(text) {
  const names = new Set();
  const lines = byteString(text).split(/\r\n|\r|\n/);
  for (const line of lines) {
    let m;
    if ((m = /^%\s*(\S+)/.exec(line))) names.add(m[1]);
    else if ((m = /^#\d+(?:\.\d+)?\s+(\S+)/.exec(line))) names.add(m[1]);
    for (const q of line.matchAll(/"([^"]+\.[A-Za-z0-9]{1,4})"/g)) names.add(q[1]);
  }
  return [...names].map(slashPath).filter((n) => !n.startsWith('/'));
}

// A byte-string name as a URL path: every byte outside the safe ASCII ones percent-escaped.
/** @param {string} byteName */
export function urlPath(byteName) {
  return byteName
    .split('/')
    .map((part) =>
      [...part]
        .map((c) => (/[A-Za-z0-9._~-]/.test(c) ? c : '%' + c.charCodeAt(0).toString(16).padStart(2, '0')))
        .join(''),
    )
    .join('/');
}
