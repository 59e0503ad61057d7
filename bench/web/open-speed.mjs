// Opening a set as an LZH archive through the page's ?open= link until it is shown, in headless
// chromium, beside `tavro-render --info` of the same archive, in one run. Prints both and the
// ratio. Needs tests/web's packages (npm ci there) and both builds.
//   node bench/web/open-speed.mjs [FOLDER-OF-A-SET]
import {spawnSync} from 'node:child_process';
import {readdirSync, readFileSync, writeFileSync} from 'node:fs';
import {join, resolve} from 'node:path';
import {lzhArchive} from '../../tests/web/fixtures.mjs';
import {demoDir, launch, openPage, renderTool, serve, waitForState, work} from '../../tests/web/harness.mjs';

const folder = resolve(process.argv[2] || demoDir);
const members = readdirSync(folder).sort().map((f) => [Buffer.from(f), readFileSync(join(folder, f))]);
writeFileSync(join(work, 'set.lzh'), lzhArchive(members));

const best = (runs, f) => Promise.all([]).then(async () => {
  let least = Infinity;
  for (let i = 0; i < runs; ++i) least = Math.min(least, await f());
  return least;
});
const nativeMs = await best(3, () => {
  const start = process.hrtime.bigint();
  spawnSync(renderTool, [join(work, 'set.lzh'), '--info', '-o', '/dev/null'], {stdio: 'ignore'});
  return Number(process.hrtime.bigint() - start) / 1e6;
});
const server = await serve();
const browser = await launch();
const pageMs = await best(3, async () => {
  const page = await openPage(browser);
  const start = process.hrtime.bigint();
  await page.goto(`http://127.0.0.1:${server.address().port}/index.html?open=/sets/set.lzh`);
  await waitForState(page, 'shown', 'failed');
  const ms = Number(process.hrtime.bigint() - start) / 1e6;
  await page.context().close();
  return ms;
});
await browser.close();
server.close();
console.log(`open ${folder} as LZH: tavro-render --info ${nativeMs.toFixed(0)} ms, page ${pageMs.toFixed(0)} ms, ratio ${(pageMs / nativeMs).toFixed(2)}`);
