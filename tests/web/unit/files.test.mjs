// The page's pure functions under Node: how gathered files become paths in the core's file
// system, which of them is opened, what a linked configuration makes the page fetch, and how
// names and texts are shown.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {
  byteString, bytesOf, entriesFromFiles, namedFiles, nameBytes, openOrder, pathParts, shownText,
  slashPath, urlPath, writeEntries,
} from '../../../web/files.js';
import {progressText} from '../../../web/progress.js';

// A file system that notes what is written where.
function fakeFs() {
  const files = new Map();
  const folders = new Set();
  return {
    files, folders,
    mkdirTree: (path) => folders.add(path),
    writeFile: (path, data) => files.set(path, Buffer.from(data).toString('latin1')),
  };
}

// 表 in Shift_JIS is 0x95 0x5C: its second byte is the backslash.
const sjisTable = Uint8Array.from([0x95, 0x5c]);

test('names: UTF-8 bytes one character a byte, shown as UTF-8 else Shift_JIS', () => {
  assert.equal(nameBytes('表.cel'), '\xe8\xa1\xa8.cel');
  assert.equal(nameBytes('a b.cnf'), 'a b.cnf');
  assert.equal(shownText(Uint8Array.from(Buffer.from('表.cel'))), '表.cel');
  assert.equal(shownText(sjisTable), '表');
  assert.equal(shownText('as given'), 'as given');
  assert.deepEqual(bytesOf(byteString(sjisTable)), sjisTable);
  // A long text crosses in pieces without losing a byte.
  const long = Uint8Array.from({length: 10000}, (_, i) => i % 256);
  assert.deepEqual(bytesOf(byteString(long)), long);
});

test('paths keep nothing that could leave the open\'s folder', () => {
  assert.deepEqual(pathParts('set/./cels//a.cel'), ['set', 'cels', 'a.cel']);
  assert.deepEqual(pathParts('../../etc/passwd'), ['etc', 'passwd']);
  assert.deepEqual(pathParts('/'), []);
});

test('written files: configurations and archives found, shallowest first, odd paths kept inside', async () => {
  const fs = fakeFs();
  const written = await writeEntries(fs, '/sets/3', [
    {path: 'doll/sub/other.cnf', data: bytesOf('b')},
    {path: 'doll/b.cnf', data: bytesOf('a')},
    {path: 'doll/A.cnf', data: bytesOf('a')},
    {path: 'doll/表.cel', file: new Blob([Uint8Array.from([1, 2, 3])])},
    {path: 'doll/x.LZH', data: bytesOf('')},
    {path: 'doll/y.lha', data: bytesOf('')},
    {path: '../../escape.cnf', data: bytesOf('e')},
    {path: '..', data: bytesOf('nothing')},
    // A name a configuration gave: bytes already, Shift_JIS as written.
    {path: `doll/${byteString(sjisTable)}.cel`, data: bytesOf('s'), raw: true},
  ]);
  assert.equal(written.folder, '/sets/3');
  // The escaping name lands at the top of the folder, so it is the shallowest.
  assert.deepEqual(written.configs.map((c) => c.name),
    ['../../escape.cnf', 'doll/A.cnf', 'doll/b.cnf', 'doll/sub/other.cnf']);
  assert.deepEqual(written.archives.map((c) => c.name), ['doll/x.LZH', 'doll/y.lha']);
  assert.ok([...fs.files.keys()].every((p) => p.startsWith('/sets/3/')));
  assert.equal(fs.files.get('/sets/3/escape.cnf'), 'e');
  assert.equal(fs.files.get(`/sets/3/doll/${nameBytes('表.cel')}`), '\x01\x02\x03');
  assert.equal(fs.files.get('/sets/3/doll/\x95\x5c.cel'), 's');
  assert.ok(fs.folders.has('/sets/3/doll/sub'));
});

test('a linked configuration comes before others at its depth', () => {
  const at = (name, depth, first) => ({path: name, name, depth, first});
  const sorted = [at('a.cnf', 1), at('z.cnf', 1, true), at('b/c.cnf', 2)].sort(openOrder);
  assert.deepEqual(sorted.map((w) => w.name), ['z.cnf', 'a.cnf', 'b/c.cnf']);
});

test('picked files keep their folder paths and are not read on the page', () => {
  const file = new File([Uint8Array.from([1])], 'doll.cnf');
  Object.defineProperty(file, 'webkitRelativePath', {value: 'set/doll.cnf'});
  const entries = entriesFromFiles([file, new File([], 'alone.cel')]);
  assert.deepEqual(entries.map((e) => e.path), ['set/doll.cnf', 'alone.cel']);
  assert.equal(entries[0].file, file);
  assert.equal(entries[0].data, undefined);
});

test('a configuration names the files a link must fetch, escaped byte for byte', () => {
  const cnf = bytesOf('%dolls.kcf\r\n#0.1 body.cel *0 :0 1\n#12 cels\\hat.cel ;x\n' +
    ';@EventHandler\n;@initialize() sound("bell.wav") debug("no.file here")\n%/abs.kcf\n' +
    `#3 ${byteString(sjisTable)}.cel\n`);
  assert.deepEqual(namedFiles(cnf).sort(),
    ['\x95\x5c.cel', 'bell.wav', 'body.cel', 'cels/hat.cel', 'dolls.kcf'].sort());
  assert.equal(urlPath('cels/\x95\x5c.cel'), 'cels/%95%5c.cel');
  assert.equal(slashPath('a\\\x95\x5c\\b'), 'a/\x95\x5c/b');
  assert.equal(urlPath('a b~.cel'), 'a%20b~.cel');
});

test('the progress dialog says what the window\'s says', () => {
  assert.equal(progressText({phase: 'unpack', count: 12, total: 0}), 'Unpacking the archive: 12 files');
  assert.equal(progressText({phase: 'cels', count: 3, total: 40}), 'Loading cels: 3 of 40');
  // The cels counted beforehand may be fewer than those loaded.
  assert.equal(progressText({phase: 'cels', count: 41, total: 40}), 'Loading cels: 41 of 41');
});
