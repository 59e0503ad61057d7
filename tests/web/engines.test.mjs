// The page in Firefox and WebKit: each draws exactly what tavro-render draws (the demo in its
// three sets, Japanese-named sets in LZH and ZIP archives) and does one thing of each kind the
// page does: keys, a drag, a "debug(" box, a failed open. The full range of behaviour runs in
// Chromium (page.test.mjs, phone.test.mjs, behaviour.test.mjs), where every check of this file
// has its own; TAVRO_ENGINES=chromium,firefox,webkit runs this file in Chromium too, through the
// same driver interface as the others.
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
    'a finger drags the straw hat':
      'WebKitWebDriver carries out touch pointer actions as mouse ones (the page sees pointerType ' +
      '"mouse"), and WebKitGTK emulates no touch screen: touch is tested in Chromium (phone.test.mjs) ' +
      'and Firefox',
    'the page reports no problems while it loads':
      'classic WebDriver reports no console messages or page errors, so the page is watched from ' +
      'the load event on, and requests are seen only by the test server',
  },
};

// The page's picture is compared with tavro-render's, which shows a set as it opens, so the
// page's alarms must not run: its `?clock=still` holds its clock at 0 where the page has it.
// Elsewhere the sets are taken with their alarms removed (Playwright's clock is Chromium's
// alone and reaches no worker; Firefox and WebKit have nothing of the kind).
const withoutAlarms = (text) => {
  const quiet = text.replace(' timer(1,2500) timer(3,600)', '');
  assert.doesNotMatch(quiet, /^;@initialize\(\).*timer\(/m, 'the demo still arms an alarm');
  return quiet;
};
const quietMembers = (members) => members.map(([name, data]) =>
  [name, name.toString('latin1').endsWith('.cnf') ? Buffer.from(withoutAlarms(data.toString('latin1')), 'latin1') : data]);
const playingSets = {demo: 'demo/demo.cnf', lzh: 'japanese.lzh', zip: 'japanese.zip'};
const quietSets = {demo: 'quiet/demo.cnf', lzh: 'quiet-japanese.lzh', zip: 'quiet-japanese.zip'};

// The page paints after its core answers, which may be a message from a worker away: a picture
// is read until `good(value)` or five seconds have passed, and the last value is returned.
async function settled(read, good) {
  const deadline = Date.now() + 5000;
  let value;
  while (!good(value = await read()) && Date.now() < deadline) await new Promise((ok) => setTimeout(ok, 100));
  return value;
}
const differences = (tab, reference) => () => tab.pixels().then((p) => differingPixels(p, reference));
const none = (n) => n === 0;

function writeSet(folder, members) {
  mkdirSync(join(work, folder));
  for (const [name, data] of members) writeFileSync(join(work, folder, name.toString('latin1')), data);
}

let server;
let origin;

before(async () => {
  writeSet('demo', plainDemo(demoDir));
  writeFileSync(join(work, 'japanese.lzh'), lzhArchive(japaneseDemo(demoDir)));
  writeFileSync(join(work, 'japanese.zip'), zipArchive(japaneseDemo(demoDir)));
  const quiet = quietMembers(plainDemo(demoDir));
  writeSet('quiet', quiet);
  writeFileSync(join(work, 'quiet-japanese.lzh'), lzhArchive(quietMembers(japaneseDemo(demoDir))));
  writeFileSync(join(work, 'quiet-japanese.zip'), zipArchive(quietMembers(japaneseDemo(demoDir))));
  writeSet('debug', quiet.map(([name, data]) => [name, name.toString() !== 'demo.cnf' ? data
    : Buffer.from(data.toString('latin1').replace(';@initialize() ', ';@initialize() debug("hold on") '), 'latin1')]));
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

const engines = (process.env.TAVRO_ENGINES || 'firefox,webkit').split(',');
for (const name of engines) assert.ok(engineNames.includes(name), `TAVRO_ENGINES: no engine ${name}`);

for (const name of engines) {
  describe(name, () => {
    let engine;
    let tab;
    let stillClock = false;
    let sets = quietSets;
    // One tab at a time: WebKitWebDriver drives one browser at once, and a test's tab stays
    // open after a failure for the next test to close.
    const open = async (link) => {
      await tab?.close().catch(() => {});
      tab = undefined;
      const query = [stillClock && 'clock=still', link && `open=${encodeURIComponent(link)}`].filter(Boolean);
      tab = await engine.open(`${origin}/index.html${query.length ? `?${query.join('&')}` : ''}`);
      return tab;
    };
    const check = (title, run) => test(title, {skip: cannot[name]?.[title] ?? false}, run);
    const clean = async (tab) => assert.deepEqual(await tab.problems(), []);

    before(async () => {
      engine = await startEngine(name);
      await (await open('')).state('empty');
      stillClock = await tab.evaluate(() => typeof window.tavro?.advanceClock === 'function');
      if (stillClock) sets = playingSets;
    });
    after(async () => {
      await tab?.close().catch(() => {});
      await engine?.close();
    });

    check('the page is cross-origin isolated', async (t) => {
      const tab = await open('');
      assert.equal(await tab.state('empty'), 'empty');
      const seen = await tab.evaluate(() => [crossOriginIsolated, typeof SharedArrayBuffer, document.visibilityState]);
      t.diagnostic(`${name}: crossOriginIsolated ${seen[0]}, SharedArrayBuffer ${seen[1]}, document ${seen[2]}`);
      t.diagnostic(`${name}: pixel checks on ${stillClock ? 'the sets as they are, the clock held by ?clock=still'
        : 'the sets with their alarms taken out (the page has no ?clock=still)'}`);
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
      const tab = await open(`/sets/${sets.demo}`);
      assert.equal(await tab.state('shown', 'failed'), 'shown');
      const shot = join(work, `${name}-demo.png`);
      await tab.screenshot(shot);
      t.diagnostic(`${name}: screenshot ${shot}`);
      assert.equal(await settled(differences(tab, rendered(sets.demo).picture), none), 0, 'set 0');
      for (const set of ['1', '2']) {
        await tab.press(set);
        assert.equal(await settled(differences(tab, rendered(sets.demo, '--set', set).picture), none), 0,
          `set ${set}`);
      }
      await clean(tab);
    });

    check('Japanese-named sets: the LZH archive by link, the CP932 ZIP through the file picker', async () => {
      const byLink = await open(`/sets/${sets.lzh}`);
      assert.equal(await byLink.state('shown', 'failed'), 'shown');
      const lzh = rendered(sets.lzh);
      assert.equal(lzh.status, 0, lzh.stderr);
      assert.equal(await settled(differences(byLink, lzh.picture), none), 0, 'LZH');
      await clean(byLink);
      const picked = await open('');
      await picked.state('empty');
      // Files chosen before the core has loaded are not opened yet (slow to compile in WebKit).
      await picked.until(() => !!(window.tavro?.core || window.tavro?.client), undefined, 'the core');
      await picked.setFiles('#open-files', [join(work, sets.zip)]);
      assert.equal(await picked.state('shown', 'failed'), 'shown');
      assert.equal(await settled(differences(picked, rendered(sets.zip).picture), none), 0, 'ZIP');
      await clean(picked);
    });

    check('a drag moves the straw hat', async () => {
      const tab = await open(`/sets/${sets.demo}`);
      assert.equal(await tab.state('shown', 'failed'), 'shown');
      const before = await tab.pixels();
      await tab.drag([350, 60], [300, 120]);
      assert.ok(await settled(differences(tab, before), (n) => n > 100) > 100, 'the hat moved');
      await clean(tab);
    });

    check('at a phone\'s size the whole picture is on the screen, centred, and nothing scrolls sideways', async (t) => {
      const tab = await open(`/sets/${sets.demo}`);
      assert.equal(await tab.state('shown', 'failed'), 'shown');
      await tab.resize(390, 844);
      await tab.until(() => {
        const r = document.getElementById('playfield').getBoundingClientRect();
        return r.width <= innerWidth && r.width >= 0.95 * innerWidth;
      }, undefined, 'the picture fitted across');
      const shown = await tab.evaluate(() => {
        const r = document.getElementById('playfield').getBoundingClientRect();
        return {left: r.left, right: r.right, top: r.top, bottom: r.bottom, width: innerWidth, height: innerHeight,
          sideways: document.documentElement.scrollWidth - innerWidth};
      });
      t.diagnostic(`${name}: ${JSON.stringify(shown)}`);
      assert.ok(shown.top >= 0 && shown.bottom <= shown.height && shown.left >= -0.5 && shown.right <= shown.width + 0.5);
      assert.ok(shown.sideways <= 0, `sideways by ${shown.sideways}`);
      await tab.screenshot(join(work, `${name}-phone.png`));
      await clean(tab);
    });

    check('a finger drags the straw hat', async () => {
      const tab = await open(`/sets/${sets.demo}`);
      assert.equal(await tab.state('shown', 'failed'), 'shown');
      const before = await tab.pixels();
      await tab.evaluate(() => document.getElementById('stage').addEventListener('pointerdown', (e) => {
        window.pointerTypes = [...(window.pointerTypes || []), e.pointerType];
      }));
      await tab.touchDrag([350, 60], [300, 120]);
      assert.ok(await settled(differences(tab, before), (n) => n > 100) > 100, 'the hat moved');
      assert.deepEqual(await tab.evaluate(() => window.pointerTypes), ['touch'], 'by a finger');
      await clean(tab);
    });

    check('a "debug(" box shows its text with the exclamation sign', async (t) => {
      const tab = await open('/sets/debug/demo.cnf');
      // The box comes while "initialize(" runs: the page is still loading, or (where the script
      // cannot pause) already shown.
      await tab.until(() => document.getElementById('message').open, undefined, 'the box');
      assert.deepEqual(await tab.evaluate(() => [document.getElementById('message-text').textContent,
        document.getElementById('message').classList.contains('exclamation')]), ['hold on', true]);
      const shot = join(work, `${name}-debug.png`);
      await tab.screenshot(shot);
      t.diagnostic(`${name}: screenshot ${shot}`);
      await tab.click('#message-ok');
      assert.equal(await tab.state('shown', 'failed'), 'shown');
      assert.equal(await tab.evaluate(() => document.getElementById('message').open), false);
      await clean(tab);
    });

    check('a set opened is on the shelf, with its picture, when the page is opened again', async (t) => {
      const tab = await open('/sets/quiet/demo.cnf');
      assert.equal(await tab.state('shown', 'failed'), 'shown');
      const kept = await tab.evaluate(async () => {
        const meta = await window.tavro.shelved();
        return {storage: typeof navigator.storage?.getDirectory === 'function', name: meta?.name ?? null};
      });
      if (!kept.storage) {
        // An engine that gives the page no storage of its own: no shelf, nothing offered for it.
        t.diagnostic(`${name}: no origin private file system here, so no shelf`);
        assert.equal(kept.name, null);
        assert.equal(await tab.evaluate(() => getComputedStyle(document.getElementById('shelf-button')).display), 'none');
        await clean(tab);
        return;
      }
      assert.equal(kept.name, 'demo.cnf');
      await tab.evaluate(() => { location.href = '/index.html'; });
      await tab.until(() => document.documentElement.dataset.tavroState === 'empty' &&
        document.querySelector('[data-tavro-shelf-entry] img')?.naturalWidth > 0, undefined, 'the shelf');
      assert.deepEqual(await tab.evaluate(() => [...document.querySelectorAll('.shelf-name')].map((e) => e.textContent)),
        ['demo.cnf']);
      await tab.click('[data-tavro-shelf-entry] .shelf-open');
      assert.equal(await tab.state('shown', 'failed'), 'shown');
      assert.equal(await settled(differences(tab, rendered(sets.demo).picture), none), 0);
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
