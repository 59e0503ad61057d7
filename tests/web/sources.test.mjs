// Where sets come from: links to other sites (with and without their CORS header), the copy kept
// for the network's absence, oversized downloads, scene links, the installed app's handlers and
// share target, and players embedded in another site's page. Two origins: the page on
// 127.0.0.1, a fan site on localhost with a port of its own.
import assert from 'node:assert/strict';
import {existsSync, mkdirSync, readFileSync, statSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {after, before, test} from 'node:test';
import {japaneseDemo, lzhArchive, plainDemo} from './fixtures.mjs';
import {
  canvasPixels, demoDir, differingPixels, openPage, rendered, serveAndLaunch, serveOtherSite,
  waitForState, work,
} from './harness.mjs';

let shared;
let browser;
let origin;
let other;
/** Every request the fan site was asked, as [path, if-none-match]. */
const asked = [];

// A fan page with two players of the demo set.
const FAN_PAGE = `<!doctype html><html><head><meta charset="utf-8"><title>Fan site</title>
<link rel="icon" href="data:,">
<script type="module" src="/embed.js"></script>
<style>body { font: 16px sans-serif; margin: 16px; max-width: 640px; }</style></head>
<body><h1>Our dolls</h1><p>Tap a doll to play.</p>
<tavro-set id="first" src="/sets/demo.lzh" clock="still"></tavro-set>
<p>And another one:</p>
<tavro-set id="second" src="/sets/demo.lzh" clock="still" style="width: 50%"></tavro-set>
</body></html>`;

// The fan site's own answers: its page, a set with the CORS header and a tag to revalidate
// against, one far too large, and everything else (the page's files, sets without the header)
// served plainly.
function fanRoute(request, response) {
  const path = new URL(request.url, 'http://localhost').pathname;
  asked.push([path, request.headers['if-none-match'] || '']);
  if (path === '/fan.html') {
    response.writeHead(200, {'Content-Type': 'text/html'}).end(FAN_PAGE);
    return true;
  }
  if (path === '/fan-below.html') {
    // A player that starts by itself once scrolled into view, far down the page.
    response.writeHead(200, {'Content-Type': 'text/html'}).end('<!doctype html><link rel="icon" href="data:,">' +
      '<script type="module" src="/embed.js"></script><div style="height: 3000px"></div>' +
      '<tavro-set id="below" src="/sets/demo.lzh" autoplay></tavro-set>');
    return true;
  }
  if (path.startsWith('/open/')) {
    // Names as the bytes their escapes give (Shift_JIS ones included).
    const file = Buffer.concat([Buffer.from(`${work}/`), Buffer.from(unescape(path.slice('/open/'.length)), 'latin1')]);
    if (!existsSync(file)) {
      response.writeHead(404, {'Access-Control-Allow-Origin': '*'}).end();
      return true;
    }
    const tag = `"${statSync(file).size}"`;
    const headers = {'Access-Control-Allow-Origin': '*', ETag: tag, 'Cache-Control': 'no-cache'};
    if (request.headers['if-none-match'] === tag) {
      response.writeHead(304, headers).end();
    } else {
      response.writeHead(200, {...headers, 'Content-Type': 'application/octet-stream'}).end(readFileSync(file));
    }
    return true;
  }
  if (path === '/slow.lzh') {
    // The demo in ten pieces over about 1.5 seconds, its length told: long enough for the
    // progress dialog.
    const data = readFileSync(join(work, 'demo.lzh'));
    response.writeHead(200, {'Access-Control-Allow-Origin': '*', 'Content-Length': String(data.length)});
    let piece = 0;
    const size = Math.ceil(data.length / 10);
    const send = () => {
      if (response.destroyed) return;
      response.write(data.subarray(piece * size, (piece + 1) * size));
      if (++piece < 10) setTimeout(send, 150);
      else response.end();
    };
    send();
    return true;
  }
  if (path === '/huge.lzh') {
    // Says it is 300 MiB and sends a little: the page must refuse it on its length alone.
    response.writeHead(200, {'Access-Control-Allow-Origin': '*', 'Content-Length': String(300 * 1024 * 1024)});
    response.write(Buffer.alloc(1024));
    request.on('close', () => response.destroy());
    return true;
  }
  return false;
}

before(async () => {
  writeFileSync(join(work, 'demo.lzh'), lzhArchive(plainDemo(demoDir)));
  // The demo with Shift_JIS names (人形.cnf, 表.cel whose second byte is 0x5C) as a folder.
  mkdirSync(join(work, 'jp'));
  for (const [name, data] of japaneseDemo(demoDir)) writeFileSync(Buffer.concat([Buffer.from(`${work}/jp/`), name]), data);
  mkdirSync(join(work, 'shots'), {recursive: true});
  shared = await serveAndLaunch();
  ({browser, origin} = shared);
  other = await serveOtherSite({route: fanRoute});
});

after(() => {
  other?.server.close();
  return shared?.stop();
});

const shots = '/work/shots';
const shoot = async (page, name) => {
  try {
    mkdirSync(shots, {recursive: true});
    await page.screenshot({path: join(shots, `sources-${name}.png`)});
  } catch {
    // Pictures for people to look at; a machine without the folder runs the tests all the same.
  }
};

const pageUrl = (query) => `${origin}/index.html?clock=still&${query}`;

async function openedBy(page, query) {
  await page.goto(pageUrl(query));
  return waitForState(page, 'shown', 'failed');
}

test('a set on another site with the CORS header opens, is kept, and opens again offline', async () => {
  const page = await openPage(browser);
  const link = `${other.origin}/open/demo.lzh`;
  assert.equal(await openedBy(page, `open=${encodeURIComponent(link)}`), 'shown');
  const reference = rendered('demo.lzh').picture;
  assert.equal(differingPixels(await canvasPixels(page), reference), 0);

  // A second visit asks whether it changed, and takes the kept copy when it did not.
  asked.length = 0;
  assert.equal(await openedBy(page, `open=${encodeURIComponent(link)}`), 'shown');
  assert.deepEqual(asked.filter(([p]) => p === '/open/demo.lzh').map(([, tag]) => tag),
    [`"${statSync(join(work, 'demo.lzh')).size}"`]);
  assert.equal(differingPixels(await canvasPixels(page), reference), 0);

  // With no network the page comes from its service worker and the set from the kept copy.
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.context().setOffline(true);
  try {
    assert.equal(await openedBy(page, `open=${encodeURIComponent(link)}`), 'shown');
    assert.equal(differingPixels(await canvasPixels(page), reference), 0);
  } finally {
    await page.context().setOffline(false);
  }
  assert.deepEqual(page.problems.filter((p) => !p.includes('ERR_INTERNET_DISCONNECTED')), []);
  await page.context().close();
});

test('a configuration on another site, with Shift_JIS names, comes with the files it names', async () => {
  const page = await openPage(browser);
  const escape = (bytes) => [...bytes].map((b) => `%${b.toString(16).padStart(2, '0')}`).join('');
  const config = japaneseDemo(demoDir)[0][0];
  assert.equal(await openedBy(page, `open=${encodeURIComponent(`${other.origin}/open/jp/${escape(config)}`)}`), 'shown');
  // tavro-render is handed the same text under a name a command line carries as it is.
  writeFileSync(join(work, 'jp', 'ascii.cnf'), japaneseDemo(demoDir)[0][1]);
  const reference = rendered('jp/ascii.cnf');
  assert.equal(reference.status, 0, reference.stderr);
  assert.equal(differingPixels(await canvasPixels(page), reference.picture), 0);
  assert.equal(await page.title(), '人形.cnf - TAVRO32');
  assert.deepEqual(page.problems, []);
  await page.context().close();
});

test('a site without the header: failed, said in a player\'s words, with a link to the file', async () => {
  const page = await openPage(browser);
  const link = `${other.origin}/sets/demo.lzh`;
  assert.equal(await openedBy(page, `open=${encodeURIComponent(link)}`), 'failed');
  const text = await page.locator('#message-text').textContent();
  assert.match(text, /does not let other pages load its files/);
  assert.match(text, /open the downloaded file here/);
  assert.equal(await page.locator('#message-link').getAttribute('href'), link);
  await shoot(page, 'refusal');
  await page.context().close();
});

test('a long download shows its progress, then the set opens', async () => {
  const page = await openPage(browser);
  await page.addInitScript(() => {
    window.progressSeen = [];
    new MutationObserver(() => {
      const text = document.getElementById('progress-text')?.textContent;
      if (text && document.getElementById('progress').open) window.progressSeen.push(text);
    }).observe(document, {subtree: true, childList: true, characterData: true, attributes: true});
  });
  assert.equal(await openedBy(page, `open=${encodeURIComponent(`${other.origin}/slow.lzh`)}`), 'shown');
  const seen = await page.evaluate(() => window.progressSeen);
  assert.ok(seen.some((t) => /^Downloading the set: \d+ KiB of \d+ KiB$/.test(t)), seen.join(' | '));
  assert.equal(differingPixels(await canvasPixels(page), rendered('demo.lzh').picture), 0);

  // Cancelled while it downloads: an empty document, nothing said.
  await page.goto(pageUrl(`open=${encodeURIComponent(`${other.origin}/slow.lzh`)}`));
  await page.locator('#progress').waitFor({state: 'visible'});
  await page.click('#progress-cancel');
  assert.equal(await waitForState(page, 'empty', 'failed', 'shown'), 'empty');
  assert.equal(await page.locator('#message').evaluate((d) => d.open), false);
  await page.context().close();
});

test('a download larger than the page opens is refused on its length, with its message', async () => {
  const page = await openPage(browser);
  assert.equal(await openedBy(page, `open=${encodeURIComponent(`${other.origin}/huge.lzh`)}`), 'failed');
  assert.match(await page.locator('#message-text').textContent(),
    /too large \(300 MiB\) to open on this page: it opens sets of up to 256 MiB/);
  await shoot(page, 'too-large');
  await page.context().close();
});

test('a scene link: set and group as tavro-render shows them, moved objects put back', async () => {
  const context = await browser.newContext();
  await context.grantPermissions(['clipboard-read', 'clipboard-write'], {origin});
  const page = await context.newPage();
  const link = `${origin}/sets/demo.lzh`;
  assert.equal(await openedBy(page, `open=${encodeURIComponent(link)}&set=1&group=1`), 'shown');
  const desktop = rendered('demo.lzh', '--set', '1', '--group', '1');
  assert.equal(desktop.status, 0, desktop.stderr);
  assert.equal(differingPixels(await canvasPixels(page), desktop.picture), 0, 'set 1, group 1');

  // Back to set 0, the straw hat (over 350, 60) dragged away, and the link copied.
  await page.keyboard.press('0');
  // The picture is fitted to the stage: map points are scaled to the page's.
  const box = await page.locator('#playfield').boundingBox();
  const scale = box.width / desktop.picture.width;
  await page.mouse.move(box.x + 350 * scale, box.y + 60 * scale);
  await page.mouse.down();
  await page.mouse.move(box.x + 300 * scale, box.y + 120 * scale, {steps: 4});
  await page.mouse.up();
  const moved = await canvasPixels(page);
  // The command may sit in the toolbar's menu: it is run as its button's click.
  await page.locator('#copy-link').dispatchEvent('click');
  await page.waitForFunction(() => document.getElementById('message').open);
  const shown = await page.locator('#message-text').textContent();
  const copied = shown.split('\n').pop();
  assert.match(copied, /[?&]set=0&group=0#p=3\.\d+\.\d+$/, 'only the hat is in the fragment');
  assert.equal(await page.evaluate(() => navigator.clipboard.readText()), copied);

  const again = await context.newPage();
  await again.goto(copied.replace('index.html?', 'index.html?clock=still&'));
  assert.equal(await waitForState(again, 'shown', 'failed'), 'shown');
  assert.equal(differingPixels(await canvasPixels(again), moved), 0, 'the hat where it was left');

  // A hostile fragment moves nothing and breaks nothing.
  const plain = rendered('demo.lzh').picture;
  await again.goto(pageUrl(`open=${encodeURIComponent(link)}&set=x&group=99#p=abc,99999.1.1,3.-40000.5,` +
    `3.1e5.2,9999.10.10,,%E3%81%82&p=3..4,constructor.1.1`));
  assert.equal(await waitForState(again, 'shown', 'failed'), 'shown');
  assert.equal(differingPixels(await canvasPixels(again), plain), 0, 'nothing moved');
  await context.close();
});

test('on a phone, Copy link opens the share sheet with the link', async () => {
  const page = await openPage(browser, {hasTouch: true, isMobile: true, viewport: {width: 400, height: 700}});
  await page.addInitScript(() => {
    Object.defineProperty(navigator, 'share', {configurable: true,
      value: async (data) => { window.sharedData = data; }});
  });
  const link = `${origin}/sets/demo.lzh`;
  assert.equal(await openedBy(page, `open=${encodeURIComponent(link)}&set=2`), 'shown');
  await page.locator('#copy-link').dispatchEvent('click');
  await page.waitForFunction(() => window.sharedData);
  const {url} = await page.evaluate(() => window.sharedData);
  assert.equal(new URL(url).searchParams.get('open'), link);
  assert.equal(new URL(url).searchParams.get('set'), '2');
  await page.context().close();
});

test('a set from this device\'s files has no link: the page says so', async () => {
  const page = await openPage(browser);
  await page.goto(`${origin}/index.html`);
  await waitForState(page, 'empty');
  await page.setInputFiles('#open-files', join(work, 'demo.lzh'));
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  await page.locator('#copy-link').dispatchEvent('click');
  await page.waitForFunction(() => document.getElementById('message').open);
  assert.match(await page.locator('#message-text').textContent(), /opened from files on this device, so a link cannot point to it/);
  await page.context().close();
});

test('the installed app\'s handlers: file types, the launch queue and the share target', async () => {
  const manifest = await (await fetch(`${origin}/manifest.webmanifest`)).json();
  const accepted = Object.values(manifest.file_handlers[0].accept).flat().sort();
  assert.deepEqual(accepted, ['.cnf', '.lha', '.lzh', '.zip']);
  assert.equal(manifest.share_target.method, 'POST');
  assert.equal(manifest.share_target.enctype, 'multipart/form-data');
  const reference = rendered('demo.lzh').picture;

  // "Open with": the browser hands the file's handle to the page's consumer.
  const page = await openPage(browser);
  await page.addInitScript(() => {
    // The browser's own queue stands in the way of an assignment.
    Object.defineProperty(window, 'launchQueue', {configurable: true,
      value: {setConsumer: (consume) => { window.launchConsumer = consume; }}});
  });
  await page.goto(`${origin}/index.html?clock=still`);
  await waitForState(page, 'empty');
  await page.waitForFunction(() => window.launchConsumer);
  await page.evaluate(async () => {
    const bytes = await (await fetch('/sets/demo.lzh')).arrayBuffer();
    window.launchConsumer({files: [{getFile: async () => new File([bytes], 'demo.lzh')}]});
  });
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  assert.equal(differingPixels(await canvasPixels(page), reference), 0, 'opened with');

  // Shared: after one visit, the service worker takes the POST and the page opens the file.
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.waitForFunction(() => navigator.serviceWorker.controller);
  await page.evaluate((action) => {
    const form = Object.assign(document.createElement('form'), {id: 'share', method: 'post', action,
      enctype: 'multipart/form-data'});
    form.innerHTML = '<input type="file" name="files" id="shared-file">';
    document.body.append(form);
  }, `${origin}/${manifest.share_target.action.replace('./', '')}`);
  await page.setInputFiles('#shared-file', join(work, 'demo.lzh'));
  await page.evaluate(() => {
    document.documentElement.dataset.tavroState = 'sending';
    document.getElementById('share').submit();
  });
  await page.waitForURL(/[?&]shared/);
  assert.equal(await waitForState(page, 'shown', 'failed'), 'shown');
  assert.equal(differingPixels(await canvasPixels(page), reference), 0, 'shared');
  assert.equal(await page.evaluate(async () => (await (await caches.open('tavro-shared')).keys()).length), 0,
    'the shared file is let go once opened');
  assert.deepEqual(page.problems, []);
  await page.context().close();
});

test('a fan page\'s two players load nothing until one is tapped, then show the set', async () => {
  const page = await openPage(browser, {viewport: {width: 700, height: 900}});
  const wasm = [];
  page.on('request', (r) => { if (r.url().endsWith('.wasm') || r.url().includes('.lzh')) wasm.push(r.url()); });
  await page.goto(`${other.origin}/fan.html`);
  await page.waitForFunction(() => customElements.get('tavro-set'));
  assert.deepEqual(await page.evaluate(() => [...document.querySelectorAll('tavro-set')].map((e) => e.dataset.tavroState)),
    ['waiting', 'waiting']);
  assert.deepEqual(wasm, [], 'nothing heavy before a tap');

  await page.locator('#first').getByRole('button').click();
  await page.waitForFunction(() => document.getElementById('first').dataset.tavroState === 'shown', null, {timeout: 30000});
  const reference = rendered('demo.lzh').picture;
  const frame = page.frameLocator('#first iframe');
  assert.equal(await frame.locator('#toolbar').isHidden(), true, 'the stage alone');
  const player = page.frames().find((f) => f.url().includes('embed'));
  assert.equal(differingPixels(await canvasPixels(player), reference), 0);
  assert.equal(await page.evaluate(() => document.getElementById('first').style.aspectRatio),
    `${reference.width} / ${reference.height}`);
  assert.equal(await page.evaluate(() => document.getElementById('second').dataset.tavroState), 'waiting');
  await shoot(page, 'embed');

  // The picture fills the frame at whatever scale that takes, and a press still finds the hat
  // (over map point 350, 60).
  const box = await frame.locator('#playfield').boundingBox();
  const frameBox = await page.locator('#first').boundingBox();
  assert.ok(Math.abs(box.width - frameBox.width) <= 2, `${box.width} across ${frameBox.width}`);
  const scale = box.width / reference.width;
  await page.mouse.move(box.x + 350 * scale, box.y + 60 * scale);
  await page.mouse.down();
  assert.equal(await player.evaluate(() => window.tavro.client.call('holdsObject')), true);
  await page.mouse.up();

  // The second plays beside the first.
  await page.locator('#second').getByRole('button').click();
  await page.waitForFunction(() => document.getElementById('second').dataset.tavroState === 'shown', null, {timeout: 30000});
  await shoot(page, 'embed-two');
  assert.deepEqual(page.problems, []);

  // With `autoplay`, a player starts once it is scrolled into view, and not before.
  await page.goto(`${other.origin}/fan-below.html`);
  await page.waitForFunction(() => customElements.get('tavro-set'));
  // The observer's first report comes a frame or two after the element is made.
  await page.evaluate(() => new Promise((ok) => requestAnimationFrame(() => requestAnimationFrame(ok))));
  assert.equal(await page.evaluate(() => document.getElementById('below').dataset.tavroState), 'waiting');
  await page.locator('#below').scrollIntoViewIfNeeded();
  await page.waitForFunction(() => document.getElementById('below').dataset.tavroState === 'shown', null, {timeout: 30000});
  await page.context().close();
});

// The other engines take another site's set under the page's isolation with the CORS header
// alone (no Cross-Origin-Resource-Policy), and refuse it without. Firefox by default: WebKit
// starts slowly, and the run is kept short (SOURCES_ENGINES=firefox,webkit adds it).
test('another engine opens another site\'s set with the CORS header, and refuses it without', {timeout: 180000}, async () => {
  const {startEngine} = await import('./engines/index.mjs');
  const reference = rendered('demo.lzh').picture;
  for (const name of (process.env.SOURCES_ENGINES || 'firefox').split(',')) {
    const engine = await startEngine(name);
    try {
      const good = await engine.open(pageUrl(`open=${encodeURIComponent(`${other.origin}/open/demo.lzh`)}`));
      assert.equal(await good.state('shown', 'failed'), 'shown', name);
      let differing = Infinity;
      for (const end = Date.now() + 5000; differing && Date.now() < end;) differing = differingPixels(await good.pixels(), reference);
      assert.equal(differing, 0, name);
      await good.close();
      const refused = await engine.open(pageUrl(`open=${encodeURIComponent(`${other.origin}/sets/demo.lzh`)}`));
      assert.equal(await refused.state('shown', 'failed'), 'failed', name);
      assert.match(await refused.evaluate(() => document.getElementById('message-text').textContent),
        /does not let other pages load its files/, name);
      const problems = (await refused.problems()).filter((p) => !p.includes('//localhost:'));
      // The refusal itself is the browser's to report on its console.
      assert.deepEqual(problems.filter((p) => !/CORS|Cross-Origin|access control|NetworkError|Failed to load resource|TypeError: Load failed/i.test(p)), [], name);
      await refused.close();
    } finally {
      await engine.close();
    }
  }
});
