// Keeps the page's own files so that it opens, and opens sets, with no network. The cache is
// named for the build (tools/build-web.sh fills it in), so a new build replaces the old files
// at once; everything else goes to the network as usual.
const CACHE = 'tavro-@BUILD@';
const FILES = ['./', 'index.html', 'tavro.js', 'files.js', 'dialogs.js', 'state.js', 'stage.js',
  'opening.js', 'input.js', 'commands.js', 'core-client.js', 'worker/core-engine.js', 'worker/core-worker.js', 'tavro.css',
  'tavro-core.js', 'tavro-core.wasm', 'manifest.webmanifest', 'icon.svg', 'icon-256.png'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith('tavro-') && k !== CACHE)
      .map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

// The page's files from the cache; sets from the network, kept as they come so that a set
// opened once by link opens again offline.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  const url = new URL(event.request.url);
  if (url.origin !== location.origin) return;
  event.respondWith(caches.open(CACHE).then(async (cache) => {
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
  }));
});
