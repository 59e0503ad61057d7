// Keeps the page's own files so that it opens, and opens sets, with no network. The cache is
// named for the build (tools/build-web.sh fills it in), so a new build replaces the old files
// at once; everything else goes to the network as usual.
/** @type {ServiceWorkerGlobalScope} */
const worker = /** @type {any} */ (self);
const CACHE = 'tavro-@BUILD@';
const FILES = ['./', 'index.html', 'tavro.js', 'state.js', 'core-client.js', 'stage.js', 'opening.js',
  'progress.js', 'input.js', 'commands.js', 'document.js', 'files.js', 'dialogs.js', 'keys.js',
  'names.js', 'text.js', 'geometry.js', 'touch.js', 'toolbar.js', 'fullscreen.js', 'notices.js', 'worker/core-worker.js', 'worker/core-engine.js', 'tavro.css',
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

worker.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith('tavro-') && k !== CACHE)
      .map((k) => caches.delete(k))))
    .then(() => worker.clients.claim()));
});

// The page's files from the cache; sets from the network, kept as they come so that a set
// opened once by link opens again offline.
worker.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  const url = new URL(event.request.url);
  if (url.origin !== location.origin) return;
  event.respondWith(caches.open(CACHE).then(async (cache) => isolated(await answer(cache))));
  /** @param {Cache} cache */
  async function answer(cache) {
    const kept = await cache.match(event.request, {ignoreSearch: url.pathname.endsWith('/') ||
      url.pathname.endsWith('index.html')});
    if (kept && FILES.some((f) => url.pathname.endsWith(f.replace('./', '/')))) return kept;
    try {
      const fresh = await fetch(event.request);
      if (fresh.ok) cache.put(event.request, fresh.clone());
      return fresh;
    } catch (error) {
      if (kept) return kept;
      throw error;
    }
  }
});
