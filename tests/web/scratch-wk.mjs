import {startEngine} from './engines/index.mjs';
import {serve} from './harness.mjs';
const server = await serve();
const origin = `http://127.0.0.1:${server.address().port}`;
const engine = await startEngine('webkit');
const tab = await engine.open(`${origin}/index.html?open=demo/demo.cnf`);
console.log(await tab.state('shown', 'failed'));
console.log(await tab.evaluate(async () => {
  const out = {dir: typeof navigator.storage?.getDirectory, persist: typeof navigator.storage?.persist};
  try { const r = await navigator.storage.getDirectory(); out.root = String(r); } catch (e) { out.rootErr = String(e); }
  try { await window.tavro.client.shelve({folder: '/sets/1', target: 'demo.cnf', choice: '', name: 'x', source: 'link', link: '', id: ''}); out.ok = true; } catch (e) { out.err = String(e.message); }
  return out;
}));
await engine.close(); server.close();
