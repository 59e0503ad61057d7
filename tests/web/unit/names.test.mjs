// Names as the person knows them, never the page's or the core's own folders.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {documentTitle, leafName, pageTitle, shownFileName, shownMessage} from '../../../web/names.js';

const places = {folder: '/sets/2', extracted: '/tmp/taAb12Cd', archive: 'にんぎょう.lzh'};

test('files of a picked folder by their path in it, archive members after the archive', () => {
  assert.equal(shownFileName('/sets/2/doll/doll.cnf', places), 'doll/doll.cnf');
  // A Shift_JIS member whose second byte is a backslash.
  assert.equal(shownFileName('/tmp/taAb12Cd/\x95\x5c.cel', places), 'にんぎょう.lzh:表.cel');
  assert.equal(shownFileName('/elsewhere/a.cel', places), '/elsewhere/a.cel');
  // Another open's folder is not this one's.
  assert.equal(shownFileName('/sets/23/a.cel', places), '/sets/23/a.cel');
  assert.equal(shownFileName('/sets/2/a.cel', {folder: '/sets/2/', extracted: '', archive: ''}), 'a.cel');
});

test('messages lose the internal folders wherever they name them', () => {
  assert.equal(shownMessage('/sets/2/a.cnf: cel (/tmp/taAb12Cd/\x95\x5c.cel) not found', places),
    'a.cnf: cel (にんぎょう.lzh:表.cel) not found');
  assert.equal(shownMessage('palette file (lost.kcf) is not found', places), 'palette file (lost.kcf) is not found');
  assert.equal(shownMessage('/sets/2/x /sets/2/y', {folder: '/sets/2', extracted: '', archive: ''}), 'x y');
});

test('titles as the window\'s caption', () => {
  assert.equal(leafName('doll/sub/Doll.cnf'), 'Doll.cnf');
  assert.equal(documentTitle('sets/doll.lzh', true), 'DOLL.LZH');
  // Only ASCII letters change case, as on the desktop.
  assert.equal(documentTitle('ｄｏｌｌ-é.lha', true), 'ｄｏｌｌ-é.LHA');
  assert.equal(documentTitle('folder/Doll.cnf', false), 'Doll.cnf');
  assert.equal(pageTitle('Untitled', 0), 'Untitled - TAVRO32');
  assert.equal(pageTitle('DOLL.LZH', 1), 'DOLL.LZH - TAVRO32 (1 load problem: Load Report)');
  assert.equal(pageTitle('a.cnf', 3), 'a.cnf - TAVRO32 (3 load problems: Load Report)');
});
