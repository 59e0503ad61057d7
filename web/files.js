// Getting a set's files into the core's in-memory file system: from the file picker, a dropped
// folder or files, or a link. Every name is written as the bytes of its UTF-8 form, one
// character a byte (the core's path calls keep names as bytes), so the core's own lookup
// matches them exactly as it would on a Linux disk.

const ARCHIVE = /\.(lzh|lha|zip)$/i;
const CONFIG = /\.cnf$/i;

// The UTF-8 bytes of a name, one character a byte.
export function nameBytes(name) {
  return String.fromCharCode(...new TextEncoder().encode(name));
}

// Bytes as text for the person: UTF-8 where they are that, else Shift_JIS, as sets write them.
export function shownText(bytes) {
  if (typeof bytes === 'string') return bytes;
  try {
    return new TextDecoder('utf-8', {fatal: true}).decode(bytes);
  } catch {
    return new TextDecoder('shift_jis').decode(bytes);
  }
}

// Bytes as a byte string, one character a byte.
export function byteString(bytes) {
  let out = '';
  for (let i = 0; i < bytes.length; i += 4096) {
    out += String.fromCharCode.apply(null, bytes.subarray(i, i + 4096));
  }
  return out;
}

// A byte string (one character a byte) as the Uint8Array the core takes.
export function bytesOf(byteString) {
  return Uint8Array.from(byteString, (c) => c.charCodeAt(0));
}

let folderCount = 0;

// A fresh folder for one open, so a set never picks up another's files.
function newFolder(FS) {
  const folder = `/sets/${++folderCount}`;
  FS.mkdirTree(folder);
  return folder;
}

// Writes `entries` ({path: 'a/b.cel', data: Uint8Array}) below a new folder; returns what to
// open: {folder, configs: [byte paths], archives: [byte paths]}.
export function writeEntries(FS, entries) {
  const folder = newFolder(FS);
  const configs = [];
  const archives = [];
  for (const {path, data, handle} of entries) {
    const parts = path.split('/').filter((p) => p && p !== '.' && p !== '..').map(nameBytes);
    if (parts.length === 0) continue;
    const target = `${folder}/${parts.join('/')}`;
    if (parts.length > 1) FS.mkdirTree(`${folder}/${parts.slice(0, -1).join('/')}`);
    FS.writeFile(target, data);
    // A configuration from a folder the browser lets the page write into keeps its handle.
    if (CONFIG.test(path)) configs.push({path: target, depth: parts.length, name: path, handle});
    else if (ARCHIVE.test(path)) archives.push({path: target, depth: parts.length, name: path});
  }
  // The shallowest first, then by name: a folder's own set before those in its subfolders.
  const order = (a, b) => a.depth - b.depth || (a.name < b.name ? -1 : a.name > b.name ? 1 : 0);
  configs.sort(order);
  archives.sort(order);
  return {folder, configs, archives};
}

async function fileEntry(file, path) {
  return {path, data: new Uint8Array(await file.arrayBuffer())};
}

// Files from an <input type=file>, with their folder paths where a folder was picked.
export function entriesFromFiles(files) {
  return Promise.all([...files].map((f) => fileEntry(f, f.webkitRelativePath || f.name)));
}

// A folder picked through the browser's file system access: every file below it, each with its
// handle, so that the configuration can be written back.
export async function entriesFromDirectory(directory) {
  const out = [];
  const walk = async (folder, prefix) => {
    for await (const [name, handle] of folder.entries()) {
      if (handle.kind === 'file') {
        const entry = await fileEntry(await handle.getFile(), prefix + name);
        out.push({...entry, handle});
      } else {
        await walk(handle, `${prefix}${name}/`);
      }
    }
  };
  await walk(directory, `${directory.name}/`);
  return out;
}

// Everything dropped: files, and folders walked through their entries.
export async function entriesFromDrop(dataTransfer) {
  const roots = [...dataTransfer.items]
    .map((item) => (item.webkitGetAsEntry ? item.webkitGetAsEntry() : null))
    .filter(Boolean);
  if (roots.length === 0) return entriesFromFiles(dataTransfer.files);
  const out = [];
  const walk = async (entry, prefix) => {
    if (entry.isFile) {
      const file = await new Promise((ok, fail) => entry.file(ok, fail));
      out.push(await fileEntry(file, prefix + entry.name));
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

// The files a configuration names (palettes, cels, sounds), as byte strings with '/' between
// folders: what a link to a .cnf must fetch from beside it.
export function namedFiles(text) {
  const names = new Set();
  const lines = byteString(text).split(/\r\n|\r|\n/);
  for (const line of lines) {
    let m;
    if ((m = /^%\s*(\S+)/.exec(line))) names.add(m[1]);
    else if ((m = /^#\d+(?:\.\d+)?\s+(\S+)/.exec(line))) names.add(m[1]);
    for (const q of line.matchAll(/"([^"]+\.[A-Za-z0-9]{1,4})"/g)) names.add(q[1]);
  }
  return [...names].map((n) => n.replace(/\\/g, '/')).filter((n) => !n.startsWith('/'));
}

// A byte-string name as a URL path: every byte outside the safe ASCII ones percent-escaped.
function urlPath(byteName) {
  return byteName
    .split('/')
    .map((part) =>
      [...part]
        .map((c) => (/[A-Za-z0-9._~-]/.test(c) ? c : '%' + c.charCodeAt(0).toString(16).padStart(2, '0')))
        .join(''),
    )
    .join('/');
}

// Fetches what `?open=URL` names, from this site only: an archive as it is, a configuration and
// then every file it names from beside it (those missing are left for the core to report).
export async function entriesFromUrl(FS, link) {
  const url = new URL(link, location.href);
  if (url.origin !== location.origin) throw new Error('Only sets on this site can be opened by link.');
  const response = await fetch(url);
  if (!response.ok) throw new Error(`${url.pathname}: ${response.status} ${response.statusText}`);
  const data = new Uint8Array(await response.arrayBuffer());
  const leaf = decodeURIComponent(url.pathname.split('/').pop() || 'set.cnf');
  const folder = newFolder(FS);
  const target = `${folder}/${nameBytes(leaf)}`;
  FS.writeFile(target, data);
  if (!CONFIG.test(leaf)) return {folder, configs: [], archives: [{path: target, name: leaf}]};
  const base = new URL('.', url);
  await Promise.all(
    namedFiles(data).map(async (name) => {
      const reply = await fetch(new URL(urlPath(name), base)).catch(() => null);
      if (!reply || !reply.ok) return;
      const parts = name.split('/');
      if (parts.some((p) => p === '..')) return;
      if (parts.length > 1) FS.mkdirTree(`${folder}/${parts.slice(0, -1).join('/')}`);
      FS.writeFile(`${folder}/${name}`, new Uint8Array(await reply.arrayBuffer()));
    }),
  );
  return {folder, configs: [{path: target, name: leaf}], archives: []};
}
