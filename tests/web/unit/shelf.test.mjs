// The shelf's descriptions as read back after a write cut short, its order and search, and
// which gatherings are collections to shelve rather than sets to open.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {entryIdOf, isEntryId, newestMeta, nextMeta, packLayout, parseMeta, shownEntries} from '../../../web/shelf-format.js';
import {collectionOf} from '../../../web/shelf-batch.js';

const fields = {id: 'a', name: 'DEMO.LZH', source: 'files', link: '', key: 'k', added: 1, opened: 1, size: 7,
  files: packLayout([{path: 'demo.lzh', length: 5}, {path: '\x95\x5c.cel', length: 2}]), target: 'demo.lzh',
  choice: '', thumb: null, saved: null};

test('the slot that counts is the newest whole one; the next write goes to the other', () => {
  const first = nextMeta(fields, null);
  const second = nextMeta({...fields, opened: 2}, first);
  assert.equal(second.seq, first.seq + 1);
  const [a, b] = [JSON.stringify(first), JSON.stringify(second)];
  assert.deepEqual(newestMeta([a, b]), {meta: second, next: 0});
  assert.deepEqual(newestMeta([b, a]), {meta: second, next: 1});
  // A write cut short, or a slot that cannot be read: the other one stands.
  assert.deepEqual(newestMeta([a, b.slice(0, 40)]), {meta: first, next: 1});
  assert.deepEqual(newestMeta([null, a]), {meta: first, next: 0});
  assert.deepEqual(newestMeta([null, null]), {meta: null, next: 0});
});

test('a description whose pack does not add up, or that names no file to open, is not one', () => {
  const good = nextMeta(fields, null);
  assert.ok(parseMeta(JSON.stringify(good)));
  assert.equal(parseMeta(JSON.stringify({...good, v: 2})), null);
  assert.equal(parseMeta(JSON.stringify({...good, target: 'other.cnf'})), null);
  const gap = good.files.map((f, n) => (n === 1 ? {...f, at: f.at + 1} : f));
  assert.equal(parseMeta(JSON.stringify({...good, files: gap})), null);
  assert.equal(parseMeta(JSON.stringify({...good, files: [{...good.files[0], length: -5}]})), null);
  assert.equal(parseMeta('[]'), null);
});

test('a set\'s folder is named for its key, and only such folders are sets', () => {
  const id = entryIdOf('0123456789abcdef'.repeat(4));
  assert.equal(id, 'set-0123456789abcdef0123456789abcdef');
  assert.ok(isEntryId(id));
  assert.ok(!isEntryId('demo'), 'a folder of the page\'s own');
  assert.ok(!isEntryId(`${id}0`));
});

test('the last opened first; the search takes every word, case and width aside', () => {
  const m = (name, opened) => ({...fields, name, opened});
  const all = [m('DEMO.LZH', 5), m('人形.cnf', 9), m('Summer Dress.cnf', 7), m('demo.zip', 5)];
  assert.deepEqual(shownEntries(all).map((e) => e.name), ['人形.cnf', 'Summer Dress.cnf', 'DEMO.LZH', 'demo.zip']);
  assert.deepEqual(shownEntries(all, 'ＤＥＭＯ').map((e) => e.name), ['DEMO.LZH', 'demo.zip']);
  assert.deepEqual(shownEntries(all, ' dress  summer ').map((e) => e.name), ['Summer Dress.cnf']);
  assert.deepEqual(shownEntries(all, '人形').map((e) => e.name), ['人形.cnf']);
});

test('two archives or more in a folder are a collection; the folder\'s own set comes along', () => {
  const e = (path) => ({path});
  const folder = [e('dolls/a.lzh'), e('dolls/b.ZIP'), e('dolls/own.cnf'), e('dolls/own.cel')];
  const sets = collectionOf(folder, 'folder');
  assert.deepEqual(sets.map((s) => s.files.map((f) => f.path)),
    [['dolls/a.lzh'], ['dolls/b.ZIP'], ['dolls/own.cnf', 'dolls/own.cel']]);
  assert.equal(collectionOf(folder.slice(1), 'folder'), null, 'one archive opens');
  // A dropped folder is a folder; loose archives dropped open each in turn.
  assert.equal(collectionOf(folder, 'drop').length, 3);
  assert.equal(collectionOf([e('a.lzh'), e('b.lzh')], 'drop'), null);
  assert.equal(collectionOf([e('x/a.lzh'), e('y/b.lzh')], 'drop'), null);
  assert.equal(collectionOf(folder, 'files'), null);
  assert.equal(collectionOf([e('d/a.lzh'), e('d/b.lzh'), e('d/notes.txt')], 'folder').length, 2);
});
