// Opening a set as an LZH archive through the page's ?open= link until it is shown, in headless
// chromium, beside `tavro-render --info` of the same archive, in one run. Prints both and the
// ratio, the longest the page's own thread was kept from running (the longest task the browser
// reports, and the longest wait of a 10 ms interval), and the bytes of pictures that crossed
// from the core's worker to the page. Needs tests/web's packages (npm ci there) and both builds.
//   node bench/web/open-speed.mjs [FOLDER-OF-A-SET]
import {spawnSync} from 'node:child_process';
import {readdirSync, readFileSync, statSync, writeFileSync} from 'node:fs';
import {join, resolve} from 'node:path';
import {lzhArchive} from '../../tests/web/fixtures.mjs';
import {demoDir, launch, openPage, renderTool, serve, waitForState, work} from '../../tests/web/harness.mjs';

const folder = resolve(process.argv[2] || demoDir);
const members = readdirSync(folder).sort().map((f) => [Buffer.from(f), readFileSync(join(folder, f))]);
writeFileSync(join(work, 'set.lzh'), lzhArchive(members));
const archiveMb = statSync(join(work, 'set.lzh')).size / 1e6;

const best = async (runs, f) => {
  let least = null;
  for (let i = 0; i < runs; ++i) {
    const run = await f();
    if (!least || run.ms < least.ms) least = run;
  }
  return least;
};
const native = await best(3, () => {
  const start = process.hrtime.bigint();
  spawnSync(renderTool, [join(work, 'set.lzh'), '--info', '-o', '/dev/null'], {stdio: 'ignore'});
  return {ms: Number(process.hrtime.bigint() - start) / 1e6};
});
const server = await serve();
const browser = await launch();
const page = await best(3, async () => {
  const tab = await openPage(browser);
  // From the page's start: the browser's long tasks, a 10 ms interval's longest wait, and the
  // pictures' bytes as they arrive from the worker.
  await tab.addInitScript(() => {
    const seen = {longestTask: 0, longestWait: 0, longestWaitLoading: 0, pictureBytes: 0};
    window.seen = seen;
    // Waits while the page itself loads (its modules, the worker's start) are told apart from
    // those while the set opens.
    let loading = false;
    new MutationObserver(() => {
      loading = document.documentElement?.dataset.tavroState === 'loading';
    }).observe(document, {attributes: true, subtree: true, attributeFilter: ['data-tavro-state']});
    new PerformanceObserver((list) => {
      for (const e of list.getEntries()) seen.longestTask = Math.max(seen.longestTask, e.duration);
    }).observe({type: 'longtask', buffered: true});
    let last = performance.now();
    setInterval(() => {
      const now = performance.now();
      seen.longestWait = Math.max(seen.longestWait, now - last);
      if (loading) seen.longestWaitLoading = Math.max(seen.longestWaitLoading, now - last);
      last = now;
    }, 10);
    const Original = window.Worker;
    window.Worker = class extends Original {
      constructor(...args) {
        super(...args);
        this.addEventListener('message', ({data}) => {
          if (data.event === 'picture') seen.pictureBytes += data.payload.data.byteLength;
        });
      }
    };
  });
  const start = process.hrtime.bigint();
  await tab.goto(`http://127.0.0.1:${server.address().port}/index.html?open=/sets/set.lzh`);
  await waitForState(tab, 'shown', 'failed');
  const ms = Number(process.hrtime.bigint() - start) / 1e6;
  const seen = await tab.evaluate(() => window.seen);
  await tab.context().close();
  return {ms, ...seen};
});
await browser.close();
server.close();
console.log(`open ${folder} as LZH (${archiveMb.toFixed(1)} MB): tavro-render --info ${native.ms.toFixed(0)} ms, ` +
  `page ${page.ms.toFixed(0)} ms, ratio ${(page.ms / native.ms).toFixed(2)}; longest task on the page's ` +
  `thread ${page.longestTask.toFixed(0)} ms (none over 50 ms counts as 0), longest wait of a 10 ms interval ` +
  `${page.longestWaitLoading.toFixed(0)} ms while the set opens (${page.longestWait.toFixed(0)} ms from the ` +
  `page's start); pictures crossed ${(page.pictureBytes / 1e6).toFixed(2)} MB`);
