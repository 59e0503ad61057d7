// Composition in WebAssembly under Node beside the native tavro-render, on one set, in one run:
// both switch between sets 1 and 2 (each switch recomposes the whole picture) N times, after
// the same open, and the open alone is timed to take it out. Prints both and the ratio.
//   node bench/web/compose-speed.mjs [SET.cnf] [N]
import {spawnSync} from 'node:child_process';
import {readdirSync, readFileSync} from 'node:fs';
import {createRequire} from 'node:module';
import {basename, dirname, join, resolve} from 'node:path';

const root = resolve(new URL('../..', import.meta.url).pathname);
const set = resolve(process.argv[2] || join(root, 'examples/demo/demo.cnf'));
const n = Number(process.argv[3] || 400);
const tool = join(root, 'build/release/src/render/tavro-render');

const timed = (args) => {
  const start = process.hrtime.bigint();
  spawnSync(tool, [set, ...args, '-o', '/dev/null'], {stdio: 'ignore'});
  return Number(process.hrtime.bigint() - start) / 1e6;
};
const switches = Array.from({length: n}, (_, i) => ['--set', String(1 + (i % 2))]).flat();
const nativeMs = Math.min(...[0, 1, 2].map(() => timed(switches))) - Math.min(...[0, 1, 2].map(() => timed([])));

delete globalThis.fetch;
const core = await createRequire(import.meta.url)(join(root, 'build/web/tavro-core.js'))();
core.FS.mkdir('/set');
for (const f of readdirSync(dirname(set))) core.FS.writeFile(`/set/${f}`, readFileSync(join(dirname(set), f)));
let wasmMs = Infinity;
for (let round = 0; round < 3; ++round) {
  const session = new core.Session();
  session.open(Uint8Array.from(Buffer.from(`/set/${basename(set)}`)), false, new Uint8Array());
  const start = process.hrtime.bigint();
  for (let i = 0; i < n; ++i) session.selectSet(1 + (i % 2));
  wasmMs = Math.min(wasmMs, Number(process.hrtime.bigint() - start) / 1e6);
  session.delete();
}
console.log(`${n} full compositions: native ${nativeMs.toFixed(1)} ms, WebAssembly ${wasmMs.toFixed(1)} ms, ratio ${(wasmMs / nativeMs).toFixed(2)}`);
