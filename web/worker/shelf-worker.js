// The worker that puts many sets on the shelf at once (a folder of archives): each is opened in
// a core of its own, out of the way of the set the person plays with, started, drawn small and
// kept, then let go. What each step made is posted as progress; nothing waits on the page.
/* global TavroCore */
importScripts('../tavro-core.js');

/** @type {{postMessage(message: unknown): void, onmessage: ((event: MessageEvent) => void) | null}} */
const shelfScope = /** @type {any} */ (self);

/**
 * @param {import('../shelf-batch.js').BatchSet[]} sets
 * @param {number | undefined} limit
 */
async function shelveAll(sets, limit) {
  const {kUnpackLimit, removeTree} = await import('./core-engine.js');
  const {byteString, bytesOf, writeEntries} = await import('../files.js');
  const {documentTitle, shownMessage} = await import('../names.js');
  const {filesBelow, thumbnailOf} = await import('./shelf-keep.js');
  const {keepSet} = await import('./shelf-store.js');
  const {kShelfFull} = await import('../shelf-format.js');
  /** @type {import('../binding').CoreModule} */
  const core = await TavroCore({locateFile: (name) => new URL(`../${name}`, location.href).href});
  const session = new core.Session();
  session.setUnpackLimit(kUnpackLimit);
  /** @type {string[]} */
  const kept = [];
  /** @type {{name: string, why: string}[]} */
  const failed = [];
  let full = false;
  // One time for the whole collection: the shelf lists it together, by name.
  const now = Date.now();
  for (let n = 0; n < sets.length; ++n) {
    const set = sets[n];
    const folder = `/batch/${n}`;
    core.FS.mkdirTree(folder);
    let name = set.files[0]?.path || '';
    try {
      const written = await writeEntries(core.FS, folder, set.files);
      const target = written.archives.length && !written.configs.length ? written.archives[0] : written.configs[0];
      if (!target) throw new Error('No configuration file (.cnf) or archive (.lzh, .lha, .zip) was given.');
      const archive = /\.(lzh|lha|zip)$/i.test(target.name);
      name = documentTitle(target.name, archive);
      if (full) throw new Error(kShelfFull);
      let result = session.open(bytesOf(target.path), false, new Uint8Array());
      // An archive of several sets is drawn by its first; the person chooses when opening it.
      if (result.choices.length) result = session.open(bytesOf(target.path), false, result.choices[0]);
      if (!result.opened) {
        const places = {folder, extracted: archive ? byteString(session.extractedFolder()) : '', archive: target.name};
        throw new Error(result.messages.map((m) => shownMessage(byteString(m), places)).join(' ') ||
          'It could not be opened.');
      }
      session.startSet();
      session.takeDebugTexts();
      session.takeSounds();
      const thumb = await thumbnailOf(/** @type {any} */ (session));
      const all = filesBelow(/** @type {any} */ (core.FS), folder);
      const relative = target.path.slice(folder.length + 1);
      const files = archive ? all.filter((f) => f.path === relative) : all;
      await keepSet({files, target: relative, choice: '', name, source: set.source, link: '', thumb, limit, now});
      kept.push(name);
    } catch (error) {
      const why = /** @type {Error} */ (error).message || String(error);
      if (why === kShelfFull) full = true;
      failed.push({name, why});
    } finally {
      session.newDocument();
      removeTree(core.FS, folder);
    }
    shelfScope.postMessage({progress: {done: n + 1, total: sets.length, name}});
  }
  session.delete();
  return {kept, failed, full};
}

shelfScope.onmessage = ({data}) => {
  shelveAll(data.sets, data.limit).then(
    (result) => shelfScope.postMessage({result}),
    (error) => shelfScope.postMessage({error: String(/** @type {Error} */ (error).message || error)}));
};
