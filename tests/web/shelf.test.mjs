// The shelf: sets opened in the page are kept in the browser with a thumbnail and listed on the
// start screen, open again with no network, keep what was saved, can be removed, come in by the
// folderful, and a full storage loses nothing.
import assert from 'node:assert/strict';
import {cpSync, mkdirSync, readFileSync, renameSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {after, before, test} from 'node:test';
import {lzhArchive, plainDemo, zipArchive} from './fixtures.mjs';
import {canvasPixels, demoDir, differingPixels, openPage, rendered, serveAndLaunch, waitForState, work} from './harness.mjs';

let shared;
let page;
const entries = () => page.locator('[data-tavro-shelf-entry]');
const entry = (name) => page.locator('[data-tavro-shelf-entry]', {has: page.locator('.shelf-name', {hasText: name})});

// The folders below the shelf's own in the origin private file system.
const keptFolders = () => page.evaluate(async () => {
  const shelf = await (await navigator.storage.getDirectory()).getDirectoryHandle('shelf', {create: true});
  const names = [];
  for await (const [name, handle] of shelf.entries()) if (handle.kind === 'directory') names.push(name);
  return names.sort();
});

async function opened(files, input = '#open-files') {
  await page.setInputFiles(input, files);
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  assert.ok(await page.evaluate(() => window.tavro.shelved()), 'kept');
}

// The shelf shows these names, in this order, once it has drawn.
const namesShown = (names) => page.waitForFunction((want) => JSON.stringify([...document.querySelectorAll('.shelf-name')]
  .map((e) => e.textContent)) === want, JSON.stringify(names), {timeout: 5000});

// Every entry's thumbnail is a picture the browser could decode.
const thumbnailsDrawn = () => page.evaluate(() => [...document.querySelectorAll('[data-tavro-shelf-entry] img')]
  .map((img) => img.complete && img.naturalWidth > 0));

const bare = async () => {
  await page.goto(`${shared.origin}/index.html?clock=still`);
  await waitForState(page, 'empty');
};

const shot = async (name) => {
  try {
    mkdirSync('/work/shots', {recursive: true});
    await page.screenshot({path: `/work/shots/shelf-${name}.png`});
  } catch {
    // Pictures for people to look at.
  }
};

before(async () => {
  writeFileSync(join(work, 'demo.lzh'), lzhArchive(plainDemo(demoDir)));
  writeFileSync(join(work, 'demo.zip'), zipArchive(plainDemo(demoDir)));
  // A folder whose configuration has a Japanese name (UTF-8 on this disk).
  cpSync(demoDir, join(work, 'dolls'), {recursive: true});
  renameSync(join(work, 'dolls/demo.cnf'), join(work, 'dolls/人形.cnf'));
  mkdirSync(join(work, 'many'));
  for (let n = 1; n <= 20; ++n) writeFileSync(join(work, `many/set${String(n).padStart(2, '0')}.zip`), readFileSync(join(work, 'demo.zip')));
  shared = await serveAndLaunch();
  page = await openPage(shared.browser);
  // How often the page asked the browser to keep its storage.
  await page.addInitScript(() => {
    const ask = StorageManager.prototype.persist;
    window.persistAsked = 0;
    StorageManager.prototype.persist = function persist() {
      ++window.persistAsked;
      return ask.call(this);
    };
  });
});

after(() => shared?.stop());

test('three sets opened are on the shelf with their pictures, and open again with no network', async () => {
  await bare();
  await opened(join(work, 'demo.zip'));
  assert.ok(await page.evaluate(() => window.persistAsked) >= 1, 'asked to keep the storage');
  await opened(join(work, 'demo.lzh'));
  await opened(join(work, 'dolls'), '#open-folder');
  // The same archive again is the same entry, opened last.
  await opened(join(work, 'demo.zip'));
  await page.evaluate(() => navigator.serviceWorker.ready);

  await page.context().setOffline(true);
  await bare();
  await page.waitForFunction(() => document.querySelectorAll('[data-tavro-shelf-entry] img').length === 3);
  assert.deepEqual(await page.locator('.shelf-name').allTextContents(), ['DEMO.ZIP', '人形.cnf', 'DEMO.LZH']);
  assert.deepEqual(await thumbnailsDrawn(), [true, true, true]);
  assert.match(await page.locator('#shelf-usage').textContent(), /^3 sets, \d+ KB/);
  await shot('desktop');

  // The search narrows by name, the letters' case and width aside.
  await page.fill('#shelf-search', 'ｄｅｍｏ');
  await namesShown(['DEMO.ZIP', 'DEMO.LZH']);
  await page.fill('#shelf-search', '');
  await namesShown(['DEMO.ZIP', '人形.cnf', 'DEMO.LZH']);

  await entry('DEMO.LZH').locator('.shelf-open').click();
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  assert.equal(await page.title(), 'DEMO.LZH - TAVRO32');
  assert.equal(differingPixels(await canvasPixels(page), rendered('demo.lzh').picture), 0);
  assert.deepEqual(page.problems, []);
});

test('a saved arrangement reopens from the shelf as saved; a removed entry takes its files along', async () => {
  await bare();
  await entry('人形.cnf').locator('.shelf-open').click();
  assert.equal(await waitForState(page, 'shown'), 'shown');
  const box = await page.locator('#playfield').boundingBox();
  await page.mouse.move(box.x + 350, box.y + 60);
  await page.mouse.down();
  await page.mouse.move(box.x + 250, box.y + 100, {steps: 3});
  await page.mouse.up();
  const moved = await canvasPixels(page);
  const download = page.waitForEvent('download');
  await page.click('#save');
  assert.match(readFileSync(await (await download).path(), 'latin1'), /^\$0 /m);
  await page.waitForSelector('#notice:text("kept on the shelf")');

  await bare();
  await entry('人形.cnf').locator('.shelf-open').click();
  assert.equal(await waitForState(page, 'shown'), 'shown');
  assert.equal(differingPixels(await canvasPixels(page), moved), 0);

  // Export gives the set as it stands: its ZIP opens as saved.
  const exported = page.waitForEvent('download');
  await page.click('#export');
  assert.equal((await exported).suggestedFilename(), '人形.zip');
  await (await exported).saveAs(join(work, 'exported.zip'));
  await opened(join(work, 'exported.zip'));
  assert.equal(differingPixels(await canvasPixels(page), moved), 0);

  // The Shelf button shows the shelf over the set; an entry's ✕ removes it and its folder.
  await page.click('#shelf-button');
  const before = await keptFolders();
  const id = await entry('DEMO.ZIP').getAttribute('data-tavro-shelf-entry');
  await entry('DEMO.ZIP').locator('.shelf-remove').click();
  await page.waitForFunction(() => document.querySelectorAll('[data-tavro-shelf-entry]').length === 3);
  assert.deepEqual(await keptFolders(), before.filter((f) => f !== id));
  await page.context().setOffline(false);
});

test('a folder of twenty archives becomes twenty entries; a full storage loses nothing', async () => {
  await bare();
  await page.setInputFiles('#open-folder', join(work, 'many'));
  await page.waitForSelector('#notice:text("20 sets put on the shelf")', {timeout: 60000});
  assert.equal(await entries().count(), 23);
  await page.waitForFunction(() => [...document.querySelectorAll('[data-tavro-shelf-entry] img')]
    .filter((img) => img.naturalWidth > 0).length === 23);
  // A collection is listed together, by name, before what was opened earlier.
  assert.deepEqual((await page.locator('.shelf-name').allTextContents()).slice(0, 3), ['SET01.ZIP', 'SET02.ZIP', 'SET03.ZIP']);
  await page.setViewportSize({width: 390, height: 844});
  await shot('phone');
  await page.setViewportSize({width: 1280, height: 720});

  // A set that does not fit what is left: said, and nothing kept before is touched.
  const kept = await keptFolders();
  const usage = await page.evaluate(async () => (await navigator.storage.estimate()).usage);
  await page.goto(`${shared.origin}/index.html?clock=still&shelfLimit=${usage + 2048}`);
  await waitForState(page, 'empty');
  const bigger = [...plainDemo(demoDir), [Buffer.from('extra.bin'), Buffer.alloc(64 * 1024, 7)]];
  writeFileSync(join(work, 'bigger.zip'), zipArchive(bigger));
  await page.setInputFiles('#open-files', join(work, 'bigger.zip'));
  assert.equal(await waitForState(page, 'shown'), 'shown');
  await page.waitForSelector('#message[open]');
  assert.match(await page.locator('#message-text').textContent(), /^The shelf is full/);
  await page.keyboard.press('Enter');
  assert.equal(await page.evaluate(() => window.tavro.shelved()), null);
  assert.deepEqual(await keptFolders(), kept);
  await bare();
  await page.waitForFunction(() => document.querySelectorAll('[data-tavro-shelf-entry]').length === 23);
});
