// The page in Chromium, Firefox and WebKit: each draws exactly what tavro-render draws (the demo
// in its three sets, Japanese-named sets in LZH and ZIP archives) and does one thing of each kind
// the page does: keys, a drag, a "debug(" box, a failed open. The full range of behaviour runs
// in Chromium (page.test.mjs); here the other two engines are held to the same picture.
import assert from 'node:assert/strict';
import {mkdirSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {after, before, describe, test} from 'node:test';
import {engineNames, startEngine} from './engines/index.mjs';
import {japaneseDemo, lzhArchive, plainDemo, zipArchive} from './fixtures.mjs';
import {demoDir, differingPixels, rendered, serve, work} from './harness.mjs';

// What an engine cannot do here, and why: the one place such a gap is written down. A test
// named here is skipped in that engine with this reason; every entry is shown in the output.
const cannot = {
  webkit: {
    'a worker waits on memory it shares with the page until the page wakes it':
      'WebKitGTK keeps SharedArrayBuffer off in an isolated page too (crossOriginIsolated is true, ' +
      'but shared memory cannot be posted to a worker): there the page shows "debug(" boxes ' +
      'without pausing the script',
    'the page reports no problems while it loads':
      'classic WebDriver reports no console messages or page errors, so the page is watched from ' +
      'the load event on, and requests are seen only by the test server',
  },
};

// The demo's alarms are taken out: the page's picture is compared with tavro-render's, which
// shows a set as it opens, and Firefox and WebKit have no way to hold the page's clock still
// (Playwright's clock is Chromium's alone, and reaches no worker).
const withoutAlarms = (text) => {
  const still = text.replace(' timer(1,2500) timer(3,600)', '');
  assert.doesNotMatch(still, /^;@initialize\(\).*timer\(/m, 'the demo still arms an alarm');
  return still;
};
const stillMembers = (members) => members.map(([name, data]) =>
  [name, name.toString('latin1').endsWith('.cnf') ? Buffer.from(withoutAlarms(data.toString('latin1')), 'latin1') : data]);

function writeSet(folder, members) {
  mkdirSync(join(work, folder));
  for (const [name, data] of members) writeFileSync(join(work, folder, name.toString('latin1')), data);
}

let server;
let origin;

before(async () => {
  const demo = stillMembers(plainDemo(demoDir));
  writeSet('demo', demo);
  writeSet('debug', demo.map(([name, data]) => [name, name.toString() !== 'demo.cnf' ? data
    : Buffer.from(data.toString('latin1').replace(';@initialize() ', ';@initialize() debug("hold on") '), 'latin1')]));
  writeFileSync(join(work, 'japanese.lzh'), lzhArchive(stillMembers(japaneseDemo(demoDir))));
  writeFileSync(join(work, 'japanese.zip'), zipArchive(stillMembers(japaneseDemo(demoDir))));
  writeFileSync(join(work, 'broken.lzh'), Buffer.from('\x16\x00-lh5-garbage that is no archive', 'latin1'));
  server = await serve();
  origin = `http://127.0.0.1:${server.address().port}`;
});

after(() => server?.close());

test('what an engine cannot do here', (t) => {
  for (const [engine, gaps] of Object.entries(cannot)) {
    for (const [what, why] of Object.entries(gaps)) t.diagnostic(`${engine}: not "${what}": ${why}`);
  }
});

for (const name of engineNames) {
  describe(name, () => {
    let engine;
    let tab;
    // One tab at a time: WebKitWebDriver drives one browser at once, and a test's tab stays
    // open after a failure for the next test to close.
    const open = async (link) => {
      await tab?.close().catch(() => {});
      tab = undefined;
      tab = await engine.open(`${origin}/index.html${link ? `?open=${encodeURIComponent(link)}` : ''}`);
      return tab;
    };
    const check = (title, run) => test(title, {skip: cannot[name]?.[title] ?? false}, run);
    const clean = async (tab) => assert.deepEqual(await tab.problems(), []);

    before(async () => { engine = await startEngine(name); });
    after(async () => {
      await tab?.close().catch(() => {});
      await engine?.close();
    });

    check('the page is cross-origin isolated', async (t) => {
      const tab = await open('');
      assert.equal(await tab.state('empty'), 'empty');
      const seen = await tab.evaluate(() => [crossOriginIsolated, typeof SharedArrayBuffer, document.visibilityState]);
      t.diagnostic(`${name}: crossOriginIsolated ${seen[0]}, SharedArrayBuffer ${seen[1]}, document ${seen[2]}`);
      assert.deepEqual([seen[0], seen[2]], [true, 'visible']);
      await clean(tab);
    });

    check('a worker waits on memory it shares with the page until the page wakes it', async () => {
      const tab = await open('');
      assert.equal(await tab.state('empty'), 'empty');
      // What the page's worker does while a "debug(" box is open.
      const answers = await tab.evaluate(async () => {
        const memory = new WebAssembly.Memory({initial: 1, maximum: 1, shared: true});
        const flag = new Int32Array(memory.buffer);
        const worker = new Worker(URL.createObjectURL(new Blob([`onmessage = (e) => {
          const flag = new Int32Array(e.data);
          postMessage('waiting');
          postMessage(Atomics.wait(flag, 0, 0, 10000) + ' ' + Atomics.load(flag, 0));
        }`], {type: 'text/javascript'})));
        const seen = [];
        await new Promise((ok) => {
          worker.onmessage = (e) => {
            seen.push(e.data);
            if (e.data === 'waiting') setTimeout(() => { Atomics.store(flag, 0, 7); Atomics.notify(flag, 0); }, 50);
            else ok();
          };
          worker.postMessage(memory.buffer);
        });
        worker.terminate();
        return seen;
      });
      assert.deepEqual(answers, ['waiting', 'ok 7']);
      await clean(tab);
    });

    check('the demo by link draws what tavro-render draws in sets 0, 1 and 2, chosen by keys', async (t) => {
      const tab = await open('/sets/demo/demo.cnf');
      assert.equal(await tab.state('shown', 'failed'), 'shown');
      const shot = join(work, `${name}-demo.png`);
      await tab.screenshot(shot);
      t.diagnostic(`${name}: screenshot ${shot}`);
      assert.equal(differingPixels(await tab.pixels(), rendered('demo/demo.cnf').picture), 0, 'set 0');
      for (const set of ['1', '2']) {
        await tab.press(set);
        assert.equal(differingPixels(await tab.pixels(), rendered('demo/demo.cnf', '--set', set).picture), 0,
          `set ${set}`);
      }
      await clean(tab);
    });

    check('Japanese-named sets: the LZH archive by link, the CP932 ZIP through the file picker', async () => {
      const byLink = await open('/sets/japanese.lzh');
      assert.equal(await byLink.state('shown', 'failed'), 'shown');
      const lzh = rendered('japanese.lzh');
      assert.equal(lzh.status, 0, lzh.stderr);
      assert.equal(differingPixels(await byLink.pixels(), lzh.picture), 0, 'LZH');
      await clean(byLink);
      const picked = await open('');
      await picked.state('empty');
      // Files chosen before the core has loaded are not opened yet (slow to compile in WebKit).
      await picked.until(() => !!(window.tavro?.core || window.tavro?.client), undefined, 'the core');
      await picked.setFiles('#open-files', [join(work, 'japanese.zip')]);
      assert.equal(await picked.state('shown', 'failed'), 'shown');
      assert.equal(differingPixels(await picked.pixels(), rendered('japanese.zip').picture), 0, 'ZIP');
      await clean(picked);
    });

    check('a drag moves the straw hat', async () => {
      const tab = await open('/sets/demo/demo.cnf');
      assert.equal(await tab.state('shown', 'failed'), 'shown');
      const before = await tab.pixels();
      await tab.drag([350, 60], [300, 120]);
      assert.ok(differingPixels(before, await tab.pixels()) > 100, 'the hat moved');
      await clean(tab);
    });

    check('a "debug(" box shows its text with the exclamation sign', async () => {
      const tab = await open('/sets/debug/demo.cnf');
      assert.equal(await tab.state('shown', 'failed'), 'shown');
      await tab.until(() => document.getElementById('message').open, undefined, 'the box');
      assert.deepEqual(await tab.evaluate(() => [document.getElementById('message-text').textContent,
        document.getElementById('message').classList.contains('exclamation')]), ['hold on', true]);
      await tab.click('#message-ok');
      await tab.until(() => !document.getElementById('message').open, undefined, 'the box to close');
      await clean(tab);
    });

    check('a broken archive fails with the desktop message', async () => {
      const tab = await open('/sets/broken.lzh');
      assert.equal(await tab.state('shown', 'failed'), 'failed');
      const desktop = rendered('broken.lzh');
      assert.notEqual(desktop.status, 0);
      assert.equal(await tab.evaluate(() => document.getElementById('message-text').textContent),
        desktop.stderr.trim());
      await clean(tab);
    });
  });
}
