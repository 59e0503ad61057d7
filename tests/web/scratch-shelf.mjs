import {startEngine} from './engines/index.mjs';
import {serve} from './harness.mjs';
const server = await serve();
const origin = `http://127.0.0.1:${server.address().port}`;
for (const name of process.argv.slice(2)) {
  const engine = await startEngine(name);
  try {
    const tab = await engine.open(`${origin}/index.html?open=demo/demo.cnf`);
    console.log(name, 'open:', await tab.state('shown', 'failed'));
    const meta = await tab.evaluate(async () => { const m = await window.tavro.shelved(); return m && {name: m.name, thumb: m.thumb}; });
    console.log(name, 'kept:', JSON.stringify(meta));
    await tab.evaluate(() => { location.href = '/index.html'; });
    await new Promise((ok) => setTimeout(ok, 1500));
    console.log(name, 'bare:', await tab.state('empty'));
    await tab.until(() => document.querySelectorAll('[data-tavro-shelf-entry]').length > 0, undefined, 'entries');
    console.log(name, 'entries:', await tab.evaluate(() => [...document.querySelectorAll('[data-tavro-shelf-entry]')].map((e) => e.textContent + ' img:' + (e.querySelector('img')?.naturalWidth ?? e.querySelector('canvas')?.width))));
    await tab.screenshot(`/tmp/shelf-${name}.png`);
  } catch (e) { console.log(name, 'FAILED', e.message); }
  await engine.close();
}
server.close();
