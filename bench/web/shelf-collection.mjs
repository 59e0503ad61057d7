// A folder of N archives put on the shelf at once, beside the same archives opened one by one in
// the page (each as a first visit would: opened, started, drawn and kept), in headless chromium,
// in one run. The collection should take no longer than opening each once.
//   node bench/web/shelf-collection.mjs [N]     (200 by default)
// Needs tests/web's packages and build/web.
import {mkdirSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {plainDemo, zipArchive} from '../../tests/web/fixtures.mjs';
import {demoDir, openPage, serveAndLaunch, waitForState, work} from '../../tests/web/harness.mjs';

const count = Number(process.argv[2]) || 200;
// Each archive differs (a member of its own), as a real folder's do.
mkdirSync(join(work, 'many'));
for (let n = 0; n < count; ++n) {
  const members = [...plainDemo(demoDir), [Buffer.from('note.txt'), Buffer.from(`set ${n}\n`)]];
  writeFileSync(join(work, `many/s${n}.zip`), zipArchive(members));
}
const shared = await serveAndLaunch();
const fresh = async () => {
  const page = await openPage(shared.browser);
  await page.goto(`${shared.origin}/index.html?clock=still`);
  await waitForState(page, 'empty');
  return page;
};

const shelving = await fresh();
let started = Date.now();
await shelving.setInputFiles('#open-folder', join(work, 'many'));
await shelving.waitForSelector(`#notice:text("${count} sets put on the shelf")`, {timeout: 30 * 60000});
const collection = Date.now() - started;

const opening = await fresh();
started = Date.now();
for (let n = 0; n < count; ++n) {
  await opening.setInputFiles('#open-files', join(work, `many/s${n}.zip`));
  await opening.waitForFunction((title) => document.title.startsWith(title), `S${n}.ZIP - `);
  await opening.evaluate(() => window.tavro.shelved());
}
const oneByOne = Date.now() - started;
console.log(`${count} archives: on the shelf at once ${(collection / 1000).toFixed(1)} s ` +
  `(${(collection / count).toFixed(0)} ms a set), opened one by one ${(oneByOne / 1000).toFixed(1)} s ` +
  `(${(oneByOne / count).toFixed(0)} ms a set): ${(collection / oneByOne).toFixed(2)}×`);
await shared.stop();
