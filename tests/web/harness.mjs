// What every browser test needs: the page served on 127.0.0.1 beside a folder of sets, Debian's
// chromium started headless through playwright-core, tavro-render for the reference pictures,
// and a watch on console errors and on requests that would leave this machine. The same page in
// Firefox and WebKit goes through the drivers of engines/.
import {spawnSync} from 'node:child_process';
import {createReadStream, existsSync, mkdtempSync, statSync} from 'node:fs';
import {createServer} from 'node:http';
import {tmpdir} from 'node:os';
import {extname, join, normalize, resolve} from 'node:path';
import {chromium} from 'playwright-core';
import {decodePng} from './fixtures.mjs';

export const root = resolve(new URL('../..', import.meta.url).pathname);
export const webDir = process.env.TAVRO_WEB_DIR || join(root, 'build/web');
export const renderTool = process.env.TAVRO_RENDER || join(root, 'build/release/src/render/tavro-render');
export const demoDir = join(root, 'examples/demo');
export const work = mkdtempSync(join(tmpdir(), 'tavro-web-'));

const TYPES = {'.html': 'text/html', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.css': 'text/css', '.wasm': 'application/wasm', '.svg': 'image/svg+xml',
  '.webmanifest': 'application/manifest+json', '.png': 'image/png'};

// Serves build/web at / and `work` at /sets/; names are taken as the bytes their escapes give.
// `route(request, response)`, when given, answers first: what it returns true for is its own.
// `headers(path)` adds headers to a file served (a second site's CORS header).
export function serve({route = () => false, headers = () => ({})} = {}) {
  const server = createServer((request, response) => {
    if (route(request, response)) return;
    const path = new URL(request.url, 'http://127.0.0.1').pathname;
    const bytes = Buffer.from(unescape(path), 'latin1');
    const [base, rest] = path.startsWith('/sets/') ? [work, bytes.subarray(6)] : [webDir, bytes];
    const file = Buffer.concat([Buffer.from(base + '/'), rest.subarray(rest[0] === 0x2f ? 1 : 0)]);
    const name = file.toString('latin1');
    if (normalize(name) !== name.replace(/\/$/, '') && !name.endsWith('/')) {
      response.writeHead(403).end();
      return;
    }
    let target = file;
    try {
      if (statSync(target).isDirectory()) target = Buffer.concat([file, Buffer.from('/index.html')]);
      statSync(target);
    } catch {
      response.writeHead(404).end();
      return;
    }
    // Isolated, as the page wants to be: it then shares memory with its core's worker.
    response.writeHead(200, {'Content-Type': TYPES[extname(target.toString('latin1'))] || 'application/octet-stream',
      'Cross-Origin-Opener-Policy': 'same-origin', 'Cross-Origin-Embedder-Policy': 'require-corp',
      ...headers(path)});
    createReadStream(target).pipe(response);
  });
  return new Promise((ok) => server.listen(0, '127.0.0.1', () => ok(server)));
}

export async function launch() {
  return chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

// The server and the browser a test file's tests share; `stop` ends both.
export async function serveAndLaunch() {
  const server = await serve();
  const browser = await launch();
  return {server, browser, origin: `http://127.0.0.1:${server.address().port}`,
    async stop() {
      await browser.close();
      server.close();
    }};
}

// A second site on this machine: another origin (localhost and a port of its own) serving the
// same folders, with `options` as serve() takes them.
export async function serveOtherSite(options) {
  const server = await serve(options);
  return {server, origin: `http://localhost:${server.address().port}`};
}

// A page that records console errors, page errors and every request not to this machine
// (127.0.0.1, or localhost for the second site).
export async function openPage(browser, options = {}) {
  return openPageIn(await browser.newContext(options));
}

// A context for the tests that want a fresh document but not a fresh browser profile: opening
// a page in a context of its own costs about as much again as opening the page. No service
// worker runs in it, so that no earlier test's worker answers a later test's requests.
export function sharedContext(browser, options = {}) {
  return browser.newContext({serviceWorkers: 'block', ...options});
}

// A page of `context` that records what openPage's pages record. A request off the machine is
// recorded by every page open in the context at the time.
export async function openPageIn(context) {
  if (!context.watchedPages) {
    context.watchedPages = new Set();
    context.on('request', (r) => {
      const url = new URL(r.url());
      if (!['blob:', 'data:'].includes(url.protocol) && !['127.0.0.1', 'localhost'].includes(url.hostname)) {
        for (const page of context.watchedPages) page.problems.push(`request off the machine: ${r.url()}`);
      }
    });
  }
  const page = await context.newPage();
  page.problems = [];
  context.watchedPages.add(page);
  page.on('close', () => context.watchedPages.delete(page));
  page.on('console', (m) => { if (m.type() === 'error') page.problems.push(`console: ${m.text()}`); });
  page.on('pageerror', (e) => page.problems.push(`page error: ${e.message}`));
  return page;
}

// Closes the pages a shared context has open, popups included: the next test's page is alone.
export async function closePages(context) {
  await Promise.all(context.pages().map((page) => page.close()));
}

// A page for a test: in a context of its own when `options` asks for one, else in `shared`, the
// previous test's page closed first.
export async function freshPage(browser, shared, options = {}) {
  if (Object.keys(options).length > 0) return openPage(browser, options);
  await closePages(shared);
  return openPageIn(shared);
}

export async function waitForState(page, ...states) {
  await page.waitForFunction((s) => s.includes(document.documentElement.dataset.tavroState),
    states, {timeout: 30000});
  return page.evaluate(() => document.documentElement.dataset.tavroState);
}

// The canvas as {width, height, rgba}.
export async function canvasPixels(page) {
  // The core answers in its worker: what the calls before drew arrives before this answer.
  const {width, height, data} = await page.evaluate(async () => {
    await window.tavro?.settled?.();
    const c = document.getElementById('playfield');
    const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    let s = '';
    for (let i = 0; i < d.length; i += 8192) s += String.fromCharCode.apply(null, d.subarray(i, i + 8192));
    return {width: c.width, height: c.height, data: btoa(s)};
  });
  return {width, height, rgba: Buffer.from(data, 'base64')};
}

// tavro-render's picture of `set` (a name in the sets' folder) with `args`, and what it said on
// standard error, where it names the set as the page does.
export function rendered(set, ...args) {
  const out = join(work, `render-${Math.random().toString(36).slice(2)}.png`);
  const run = spawnSync(renderTool, [set, ...args, '-o', out], {cwd: work, encoding: 'latin1'});
  return {picture: existsSync(out) ? decodePng(out) : null, stderr: run.stderr, status: run.status};
}

// How many pixels differ (0 when the pictures are the same).
export function differingPixels(a, b) {
  if (a.width !== b.width || a.height !== b.height) return Infinity;
  let n = 0;
  for (let i = 0; i < a.rgba.length; i += 4) {
    if (a.rgba[i] !== b.rgba[i] || a.rgba[i + 1] !== b.rgba[i + 1] || a.rgba[i + 2] !== b.rgba[i + 2]) ++n;
  }
  return n;
}
