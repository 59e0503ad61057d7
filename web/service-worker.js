// Keeps the page's own files so that it opens with no network (the sets a link fetched the
// page's worker keeps itself, by their URLs). The cache is named for the build
// (tools/build-web.sh fills it in), so a new build replaces the old files at once; everything
// else goes to the network as usual. It also takes the files the share sheet sends the
// installed app, keeps them, and opens the page to take them.
/** @type {ServiceWorkerGlobalScope} */
const worker = /** @type {any} */ (self);
const CACHE = 'tavro-@BUILD@';
const FILES = ['./', 'index.html', 'tavro.js', 'state.js', 'core-client.js', 'stage.js', 'opening.js',
  'progress.js', 'input.js', 'commands.js', 'document.js', 'files.js', 'dialogs.js', 'keys.js',
  'names.js', 'text.js', 'geometry.js', 'touch.js', 'toolbar.js', 'fullscreen.js', 'notices.js', 'worker/core-worker.js', 'worker/core-engine.js', 'tavro.css',
  'worker/remote-fetch.js', 'scene.js', 'scene-link.js', 'launch.js', 'embed-mode.js', 'embed.js',
  'shelf.js', 'shelf-format.js', 'shelf-batch.js', 'worker/shelf-store.js', 'worker/shelf-keep.js',
  'worker/shelf-worker.js',
  'tavro-core.js', 'tavro-core.wasm', 'manifest.webmanifest', 'icon.svg', 'icon-256.png', 'guide.html'];

// The page isolated from other sites, so that it may share memory with its worker (a script's
// box then stops the script until it is closed): for hosts that cannot send these headers
// themselves, they are added to everything served from here.
const ISOLATION = {
  'Cross-Origin-Opener-Policy': 'same-origin',
  'Cross-Origin-Embedder-Policy': 'require-corp',
};

/** @param {Response} response */
function isolated(response) {
  if (response.type === 'opaque' || response.status === 0) return response;
  const headers = new Headers(response.headers);
  for (const [name, value] of Object.entries(ISOLATION)) headers.set(name, value);
  return new Response(response.body, {status: response.status, statusText: response.statusText, headers});
}

worker.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => worker.skipWaiting()));
});

// Where the shared files wait for the page (launch.js takes them), and the share target's
// address (the manifest's).
const SHARED = 'tavro-shared';
const SHARE_ACTION = 'share-target';
// The caches of other builds go; these are not the build's.
const KEPT = new Set([CACHE, SHARED, 'tavro-sets']);

worker.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith('tavro-') && !KEPT.has(k))
      .map((k) => caches.delete(k))))
    .then(() => worker.clients.claim()));
});

/**
 * The share sheet's POST: its files are kept for the page, which is then opened to take them.
 * A shared link without files (a set's address) opens as `?open=` would.
 * @param {Request} request
 */
async function takeShare(request) {
  const form = await request.formData().catch(() => null);
  const files = form ? form.getAll('files').filter((f) => typeof f !== 'string') : [];
  const page = new URL('index.html', location.href);
  if (!files.length) {
    const said = form ? [form.get('url'), form.get('text')].map(String).join(' ') : '';
    const link = /https?:\/\/\S+/.exec(said);
    if (link) page.searchParams.set('open', link[0]);
    return Response.redirect(page.href, 303);
  }
  const cache = await caches.open(SHARED);
  for (const old of await cache.keys()) await cache.delete(old);
  let n = 0;
  for (const file of /** @type {File[]} */ (files)) {
    await cache.put(new URL(`shared/${++n}`, location.href).href,
      new Response(file, {headers: {'X-Tavro-Name': encodeURIComponent(file.name)}}));
  }
  page.searchParams.set('shared', '');
  return Response.redirect(page.href, 303);
}

// The page's files from the cache (the page's address with any query), and a share; all else
// goes to the network untouched.
worker.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (url.origin !== location.origin) return;
  if (event.request.method === 'POST' && url.pathname.endsWith(`/${SHARE_ACTION}`)) {
    event.respondWith(takeShare(event.request));
    return;
  }
  if (event.request.method !== 'GET') return;
  const page = url.pathname.endsWith('/') || url.pathname.endsWith('/index.html');
  if (!page && !FILES.some((f) => url.pathname.endsWith(f.replace('./', '/')))) return;
  event.respondWith(caches.open(CACHE).then(async (cache) => isolated(await answer(cache))));
  /** @param {Cache} cache */
  async function answer(cache) {
    const kept = await cache.match(event.request, {ignoreSearch: page});
    if (kept) return kept;
    const fresh = await fetch(event.request);
    if (fresh.ok && !url.search) cache.put(event.request, fresh.clone());
    return fresh;
  }
});
