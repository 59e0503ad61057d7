import {mkdirSync, readFileSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {plainDemo, zipArchive} from './fixtures.mjs';
import {demoDir, openPage, serveAndLaunch, waitForState, work} from './harness.mjs';
const N = Number(process.argv[2] || 200);
const zip = zipArchive(plainDemo(demoDir));
mkdirSync(join(work, 'many'));
for (let n = 0; n < N; ++n) writeFileSync(join(work, `many/s${n}.zip`), Buffer.concat([zip]));
const shared = await serveAndLaunch();
const page = await openPage(shared.browser);
await page.goto(`${shared.origin}/index.html?clock=still`);
await waitForState(page, 'empty');
let t = Date.now();
await page.setInputFiles('#open-folder', join(work, 'many'));
await page.waitForSelector(`#notice:text("${N} sets put on the shelf")`, {timeout: 600000});
const batch = Date.now() - t;
// Each opened once, through the page, in a fresh context (no shelf: the same as a first visit).
const p2 = await openPage(shared.browser);
await p2.goto(`${shared.origin}/index.html?clock=still`);
await waitForState(p2, 'empty');
t = Date.now();
for (let n = 0; n < N; ++n) {
  await p2.setInputFiles('#open-files', join(work, `many/s${n}.zip`));
  await p2.waitForFunction((name) => document.title.startsWith(name), `S${n}.ZIP`);
  await p2.evaluate(() => window.tavro.shelved());
}
const singles = Date.now() - t;
console.log(JSON.stringify({N, batchMs: batch, eachOpenedMs: singles}));
await shared.stop();
