// Composition in WebAssembly under Node beside the native tavro-render, on one set, in one run:
// both switch between sets 1 and 2 (each switch recomposes the whole picture), the page N
// times and the native program at least 500, after the same open, and the open alone is timed
// to take it out. Prints the time of one composition in each and the ratio. Times are processor
// time (the native program's from /usr/bin/time, the page's from Node's own count), so that
// other work on a shared machine does not count.
//   node bench/web/compose-speed.mjs [SET.cnf | --largest [mixed]] [N]
// TAVRO_RENDER and TAVRO_CORE (the module's .js) name other builds to time, so that two
// versions can be set side by side in one run.
// --largest writes the largest set a configuration can make (the benchmarks' synthetic set,
// `mixed` for its true-colour variant) and shows all of its cels in sets 1 and 2 as well.
import {spawnSync} from 'node:child_process';
import {mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {createRequire} from 'node:module';
import {tmpdir} from 'node:os';
import {basename, dirname, join, resolve} from 'node:path';

const root = resolve(new URL('../..', import.meta.url).pathname);
const largest = process.argv[2] === '--largest';
const mixed = largest && process.argv[3] === 'mixed';

function writeLargestSet() {
  const folder = mkdtempSync(join(tmpdir(), 'tavro-largest-'));
  process.on('exit', () => rmSync(folder, {recursive: true, force: true}));
  const writer = join(root, 'build/release/bench/budget/tavro_write_synthetic_set');
  spawnSync(writer, [folder, ...(mixed ? ['mixed'] : [])], {stdio: 'ignore'});
  const cnf = join(folder, 'max.cnf');
  // Every cel in sets 0 to 2, and set 0's positions (its line and continuations) for all three.
  const lines = readFileSync(cnf, 'latin1').split('\n').map((l) => l.replace(/ :0(\r?)$/, ' :0 1 2$1'));
  const first = lines.findIndex((l) => l.startsWith('$'));
  let end = first + 1;
  while (end < lines.length && lines[end].startsWith(' ')) ++end;
  const positions = lines.slice(first, end);
  lines.splice(end, 0, ...positions, ...positions);
  writeFileSync(cnf, lines.join('\n'), 'latin1');
  return cnf;
}

const set = largest ? writeLargestSet()
                    : resolve(process.argv[2] || join(root, 'examples/demo/demo.cnf'));
const n = Number(process.argv[largest ? (mixed ? 4 : 3) : 3] || (largest ? 20 : 400));
const tool = resolve(process.env.TAVRO_RENDER || join(root, 'build/release/src/render/tavro-render'));

const cpuFile = join(mkdtempSync(join(tmpdir(), 'tavro-cpu-')), 'time');
process.on('exit', () => rmSync(dirname(cpuFile), {recursive: true, force: true}));
const timed = (args) => {
  spawnSync('/usr/bin/time', ['-f', '%U %S', '-o', cpuFile, tool, set, ...args, '-o', '/dev/null'],
            {stdio: 'ignore'});
  const [user, system] = readFileSync(cpuFile, 'latin1').trim().split(/\s+/).map(Number);
  return (user + system) * 1e3;
};
const cpuMs = () => {
  const used = process.cpuUsage();
  return (used.user + used.system) / 1e3;
};
// The native program runs many more switches than the page, so that they outweigh the
// variation of its open (which is timed alone and taken out).
const nativeCount = Math.max(n, 500);
const mode = mixed ? ['--mode', 'true'] : [];
const switches = Array.from({length: nativeCount}, (_, i) => ['--set', String(1 + (i % 2))]).flat();
const nativeMs = (Math.min(...[0, 1, 2].map(() => timed([...mode, ...switches]))) -
                  Math.min(...[0, 1, 2].map(() => timed(mode)))) / nativeCount;

delete globalThis.fetch;
const core = await createRequire(import.meta.url)(resolve(process.env.TAVRO_CORE || join(root, 'build/web/tavro-core.js')))();
core.FS.mkdir('/set');
for (const f of readdirSync(dirname(set))) core.FS.writeFile(`/set/${f}`, readFileSync(join(dirname(set), f)));
let wasmMs = Infinity;
for (let round = 0; round < 3; ++round) {
  const session = new core.Session();
  session.open(Uint8Array.from(Buffer.from(`/set/${basename(set)}`)), false, new Uint8Array());
  session.startSet();
  if (mixed) session.colourModeTrue();
  const start = cpuMs();
  for (let i = 0; i < n; ++i) session.selectSet(1 + (i % 2));
  wasmMs = Math.min(wasmMs, (cpuMs() - start) / n);
  session.delete();
}
console.log(`one full composition: native ${nativeMs.toFixed(2)} ms, WebAssembly ${wasmMs.toFixed(2)} ms, ratio ${(wasmMs / nativeMs).toFixed(2)}`);
