// A drag step on the largest set a configuration can make (the benchmarks' synthetic set, its
// 200 x 400 object moved 5 pixels right and down and back), from the pointer's move to the
// painted canvas in headless chromium, beside the same step in one run: the native composition
// of it (bench/ComposeBench's drag benchmark, processor time) and the WebAssembly core's step
// under Node with the picture read out for the page (the worker's engine, wall time). 256
// colours on the plain set, true colour on its `mixed` variant, as the native benchmark has them.
// Medians of STEPS steps, each figure the median of three rounds; with --old, the page and the
// Node step of another build of the page (say main's build/web copied aside) interleaved with
// this one's.
//   node bench/web/page-paint.mjs [--old WEB_DIR] [STEPS]
// Needs tests/web's packages, build/web and build/release (or TAVRO_RELEASE=its folder).
import {execFileSync, spawnSync} from 'node:child_process';
import {mkdirSync, readdirSync, readFileSync, symlinkSync, writeFileSync} from 'node:fs';
import {createRequire} from 'node:module';
import {join, resolve} from 'node:path';
import {pathToFileURL} from 'node:url';
import {lzhArchive} from '../../tests/web/fixtures.mjs';

const root = resolve(new URL('../..', import.meta.url).pathname);
const release = process.env.TAVRO_RELEASE || join(root, 'build/release');
const args = process.argv.slice(2);
const child = args[0] === '--child';
const oldAt = args.indexOf('--old');
const oldDir = oldAt >= 0 ? resolve(args[oldAt + 1]) : null;
const steps = child ? Number(process.env.TAVRO_STEPS)
  : Number(args.filter((a, i) => !a.startsWith('--') && (oldAt < 0 || i !== oldAt + 1))[0]) || 200;
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// The step's two moves: where the press was, then 5 pixels right and down, and back.
const target = (press, i) => (i % 2 ? press : {x: press.x + 5, y: press.y + 5});

// The WebAssembly core's step under Node, through the worker's own engine: the move and the
// changed area read out for the page. Also finds a point of the held object that presses it.
async function nodeStep(webDir, folder, trueColour) {
  delete globalThis.fetch;
  const {createEngine} = await import(pathToFileURL(join(webDir, 'worker/core-engine.js')).href);
  const TavroCore = createRequire(import.meta.url)(join(webDir, 'tavro-core.js'));
  const painted = [];
  const engine = await createEngine(TavroCore, (name, payload) => {
    if (name === 'picture') painted.push(payload.area);
  }, {clock: 'still'});
  const entries = readdirSync(folder).map((f) => ({path: `largest/${f}`, data: readFileSync(join(folder, f))}));
  const written = await engine.writeFiles(entries);
  engine.call('open', [Uint8Array.from(Buffer.from(written.configs[0].path)), false, new Uint8Array()]);
  engine.call('startSet', []);
  if (trueColour) engine.call('colourModeTrue', []);
  // The object's first position, from set 0's line; a point where its cel is opaque.
  const [x0, y0] = readFileSync(join(folder, 'max.cnf'), 'latin1').match(/^\$0 (\d+),(\d+)/m).slice(1).map(Number);
  let press = null;
  for (let dy = 100; !press && dy < 300; dy += 7) {
    const at = {x: x0 + 100, y: y0 + dy};
    engine.call('press', [at.x, at.y]);
    const box = engine.call('move', [at.x + 5, at.y + 5]).objectBox;
    engine.call('move', [at.x, at.y]);
    engine.call('release', []);
    if (box.right - box.left === 200 && box.bottom - box.top === 400) press = at;
  }
  if (!press) throw new Error('no point presses the drag object');
  engine.call('press', [press.x, press.y]);
  const times = [];
  for (let i = 0; i < steps; ++i) {
    const {x, y} = target(press, i);
    const start = performance.now();
    engine.call('move', [x, y]);
    times.push(performance.now() - start);
  }
  engine.call('release', []);
  return {press, ms: median(times)};
}

// The page: pointer moves through the page's own input handling, timed from the move's handler
// to the end of the putImageData that paints its step, and to the next frame after it.
async function pageStep(sets, folder, press, trueColour) {
  const {openPage, serveAndLaunch, work} = await import('../../tests/web/harness.mjs');
  symlinkSync(join(sets, `${folder}.lzh`), join(work, `${folder}.lzh`));
  const shared = await serveAndLaunch();
  const page = await openPage(shared.browser, {viewport: {width: 1600, height: 1300}});
  await page.addInitScript(() => {
    const log = {moves: [], paints: [], frames: [], arrived: 0, waiting: null};
    window.paintLog = log;
    addEventListener('pointermove', () => log.moves.push(performance.now()), {capture: true});
    // When each picture's message reached the page's thread, before the page's own handler.
    const Original = window.Worker;
    window.Worker = class extends Original {
      constructor(...args) {
        super(...args);
        this.addEventListener('message', ({data}) => {
          if (data.event === 'picture') log.arrived = performance.now();
        });
      }
    };
    const put = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function (image, ...rest) {
      const start = performance.now();
      put.call(this, image, ...rest);
      log.paints.push({t: performance.now(), put: performance.now() - start, arrived: log.arrived,
        w: image.width, h: image.height, at: log.moves.length});
      const n = log.paints.length;
      requestAnimationFrame(() => {
        log.frames[n - 1] = performance.now();
        log.waiting?.();
      });
    };
    log.painted = (n) => new Promise((ok) => {
      const check = () => {
        if (log.frames.length >= n) ok(undefined);
        else log.waiting = check;
      };
      check();
    });
  });
  await page.goto(`${shared.origin}/index.html?clock=still&open=/sets/${folder}.lzh`);
  // The largest set takes a while to fetch and read on a busy machine.
  await page.waitForFunction(() => ['shown', 'failed'].includes(document.documentElement.dataset.tavroState),
    null, {timeout: 300000});
  if (await page.evaluate(() => document.documentElement.dataset.tavroState) !== 'shown') {
    throw new Error(`the set did not open: ${await page.evaluate(() => document.body.innerText)}`);
  }
  if (trueColour) await page.evaluate(() => window.tavro.client.call('colourModeTrue'));
  await page.evaluate(() => window.tavro.settled());
  const box = await page.locator('#playfield').boundingBox();
  await page.mouse.move(box.x + press.x, box.y + press.y);
  await page.mouse.down();
  await page.evaluate(() => window.tavro.settled());
  const first = await page.evaluate(() => window.paintLog.paints.length);
  for (let i = 0; i < steps; ++i) {
    const {x, y} = target(press, i);
    await page.mouse.move(box.x + x, box.y + y);
    await page.evaluate((n) => window.paintLog.painted(n), first + i + 1);
  }
  await page.mouse.up();
  // A question's round trip to the worker and back, which nothing is drawn for: what any step
  // costs beside its work.
  const roundTrip = await page.evaluate(async () => {
    const times = [];
    for (let i = 0; i < 100; ++i) {
      const start = performance.now();
      await window.tavro.client.call('holdsObject');
      times.push(performance.now() - start);
    }
    return times.sort((a, b) => a - b)[50];
  });
  const log = await page.evaluate(() => window.paintLog);
  const paints = log.paints.slice(first, first + steps);
  const frames = log.frames.slice(first, first + steps);
  const moves = paints.map((p) => log.moves[p.at - 1]);
  await shared.stop();
  return {
    ms: median(paints.map((p, i) => p.t - moves[i])),
    frameMs: median(frames.map((t, i) => t - moves[i])),
    arrivedMs: median(paints.map((p, i) => p.arrived - moves[i])),
    putMs: median(paints.map((p) => p.put)),
    roundTrip,
    area: `${median(paints.map((p) => p.w))} × ${median(paints.map((p) => p.h))}`,
  };
}

if (child) {
  // One build's figures, in a process of its own: the harness serves TAVRO_WEB_DIR.
  const [, folder, mode] = args;
  const trueColour = mode === 'true';
  const webDir = process.env.TAVRO_WEB_DIR;
  const node = await nodeStep(webDir, join(process.env.TAVRO_SETS, folder), trueColour);
  const page = await pageStep(process.env.TAVRO_SETS, folder, node.press, trueColour);
  console.log(JSON.stringify({node: node.ms, ...page}));
  process.exit(0);
}

// The sets, in a folder the page's server serves as /sets/.
const sets = execFileSync('mktemp', ['-d', '/tmp/tavro-paint-XXXXXX'], {encoding: 'latin1'}).trim();
process.on('exit', () => spawnSync('rm', ['-rf', sets]));
const writer = join(release, 'bench/budget/tavro_write_synthetic_set');
// The page opens each as one LZH archive: one fetch rather than 1,822.
for (const [folder, extra] of [['plain', []], ['mixed', ['mixed']]]) {
  mkdirSync(join(sets, folder));
  execFileSync(writer, [join(sets, folder), ...extra], {stdio: 'ignore'});
  const members = readdirSync(join(sets, folder)).sort()
    .map((f) => [Buffer.from(f), readFileSync(join(sets, folder, f))]);
  writeFileSync(join(sets, `${folder}.lzh`), lzhArchive(members));
}

const native = JSON.parse(execFileSync(join(release, 'bench/ComposeBench'),
  ['--benchmark_filter=BM_DragRecompose', '--benchmark_format=json'], {encoding: 'latin1'}));
const nativeMs = (trueColour) => native.benchmarks.find((b) => b.name.endsWith(`true_colour:${trueColour ? 1 : 0}`))
  .cpu_time / 1e3;

const builds = [['new', join(root, 'build/web')], ...(oldDir ? [['old', oldDir]] : [])];
const runs = {};
for (let round = 0; round < 3; ++round) {
  for (const [mode, folder] of [['256', 'plain'], ['true', 'mixed']]) {
    for (const [name, webDir] of round % 2 ? [...builds].reverse() : builds) {
      const out = spawnSync(process.execPath, [new URL(import.meta.url).pathname, '--child', folder, mode],
        {env: {...process.env, TAVRO_WEB_DIR: webDir, TAVRO_SETS: sets, TAVRO_STEPS: String(steps)}, encoding: 'utf8', stdio: ['ignore', 'pipe', 'inherit']});
      if (out.status !== 0) throw new Error(`${name} ${mode}: the run failed`);
      (runs[`${name} ${mode}`] ||= []).push(JSON.parse(out.stdout.trim().split('\n').pop()));
    }
  }
}

console.log(`drag step on the largest set (1280 × 1024), medians of ${steps} steps, median of 3 rounds:`);
for (const mode of ['256', 'true']) {
  console.log(`${mode === '256' ? '256 colours' : 'true colour'}: native composition ${nativeMs(mode === 'true').toFixed(3)} ms`);
  for (const [name] of builds) {
    const r = runs[`${name} ${mode}`];
    const of = (key) => median(r.map((x) => x[key])).toFixed(2);
    console.log(`  ${name}: WebAssembly step under Node ${of('node')} ms; page, move to painted canvas ` +
      `${of('ms')} ms (the picture's message in after ${of('arrivedMs')}, putImageData ${of('putMs')}), ` +
      `to the next frame ${of('frameMs')} ms; painted ${r[0].area}; a question's round trip to the worker ` +
      `${of('roundTrip')} ms`);
  }
}
