// Fetching a set by its link, from this site or any other that allows it: bounded by what the
// tab may hold, with its progress told as it comes, and kept in Cache Storage by its URL so that
// the same link opens again with no network (asking the site, when online, whether it changed).
import {namedFiles, urlPath} from '../files.js';

const CONFIG = /\.cnf$/i;

/** The cache the fetched sets are kept in, apart from the page's own files. */
export const kSetCache = 'tavro-sets';

/**
 * A fetch that failed in a way the person can do something about: `link` is where the file can
 * be downloaded by hand.
 */
export class FetchRefused extends Error {
  /** @param {string} message @param {string} [link] */
  constructor(message, link = '') {
    super(message);
    this.link = link;
  }
}

/** @param {number} bytes */
export function shownSize(bytes) {
  if (bytes >= 1024 * 1024) return `${Math.round(bytes / (1024 * 1024))} MiB`;
  if (bytes >= 1024) return `${Math.round(bytes / 1024)} KiB`;
  return bytes === 1 ? '1 byte' : `${bytes} bytes`;
}

/** @param {URL} url @param {number} limit @param {number} [size] */
export function tooLargeMessage(url, limit, size) {
  const known = size ? ` (${shownSize(size)})` : '';
  return `The set at ${url.href} is too large${known} to open on this page: it opens sets of up ` +
    `to ${shownSize(limit)}.`;
}

/**
 * What the person is told when another site's file cannot be fetched: the browser does not say
 * whether the site forbids it or cannot be reached, so both are named; the way round is the
 * link itself.
 * @param {URL} url
 */
export function refusedMessage(url) {
  return `The site ${url.host} does not let other pages load its files (or it cannot be reached ` +
    'now), so this page cannot open the set from there. Download the file with the link below, ' +
    'then open the downloaded file here with Open… or drop it onto this page.';
}

/**
 * What one link's files may take in all: `limit`, of which `left` is not spent yet (the files
 * of a configuration come several at once and share it).
 * @typedef {{limit: number, left: number}} Budget
 */

/**
 * Reads a response's body whole, refusing one larger than what is left of the budget before
 * reading it when its length is given, and stopping the stream once it passes that otherwise.
 * @param {Response} response
 * @param {URL} url
 * @param {Budget} budget
 * @param {(count: number, total: number) => void} progress this body's bytes so far, and its
 *   stated length (0 for none)
 * @returns {Promise<Uint8Array<ArrayBuffer>>}
 */
export async function readBounded(response, url, budget, progress) {
  const length = Number(response.headers.get('Content-Length'));
  const total = Number.isFinite(length) && length > 0 ? length : 0;
  if (total > budget.left) {
    await response.body?.cancel().catch(() => {});
    throw new FetchRefused(tooLargeMessage(url, budget.limit, total));
  }
  /** @type {Uint8Array[]} */
  const parts = [];
  let count = 0;
  const reader = /** @type {ReadableStream<Uint8Array>} */ (response.body ?? new Response(new Uint8Array()).body).getReader();
  for (;;) {
    const {done, value} = await reader.read();
    if (done) break;
    count += value.byteLength;
    budget.left -= value.byteLength;
    if (budget.left < 0) {
      await reader.cancel().catch(() => {});
      throw new FetchRefused(tooLargeMessage(url, budget.limit));
    }
    parts.push(value);
    progress(count, total);
  }
  const whole = new Uint8Array(count);
  let at = 0;
  for (const part of parts) {
    whole.set(part, at);
    at += part.byteLength;
  }
  return whole;
}

/**
 * The cache, or null where the browser keeps none for this page (a private window may not).
 * @returns {Promise<Cache|null>}
 */
async function openCache() {
  try {
    return await caches.open(kSetCache);
  } catch {
    return null;
  }
}

/**
 * Headers that ask the site whether the kept copy is still what it serves.
 * @param {Response} kept
 */
export function revalidation(kept) {
  /** @type {Record<string, string>} */
  const headers = {};
  const tag = kept.headers.get('ETag');
  const modified = kept.headers.get('Last-Modified');
  if (tag) headers['If-None-Match'] = tag;
  if (modified) headers['If-Modified-Since'] = modified;
  return headers;
}

/**
 * One file by its URL: the kept copy when it is still current or the network is out, else the
 * site's (kept for next time). Another site's file is asked for with CORS, so that its bytes
 * may be read; a site that does not allow it, or cannot be reached with nothing kept, refuses.
 * @param {URL} url
 * @param {{budget: Budget, progress: (count: number, total: number) => void, required: boolean}} how
 * @returns {Promise<Uint8Array<ArrayBuffer>|null>} null for a file not there (a set's own
 *   missing file, which the core reports)
 */
export async function fetchKept(url, how) {
  const cache = await openCache();
  const kept = await cache?.match(url.href);
  const foreign = url.origin !== self.location.origin;
  const offline = typeof navigator !== 'undefined' && navigator.onLine === false;
  if (kept && offline) return new Uint8Array(await kept.arrayBuffer());
  /** @type {Response} */
  let response;
  try {
    // Conditional headers of the page's own would make another site's CORS ask first (they are
    // not among the headers it allows unasked), so there the browser's own cache revalidates.
    response = await fetch(url, foreign
      ? {mode: 'cors', credentials: 'omit', cache: 'no-cache'}
      : {cache: 'no-store', headers: kept ? revalidation(kept) : {}});
  } catch {
    if (kept) return new Uint8Array(await kept.arrayBuffer());
    if (!how.required) return null;
    if (foreign) throw new FetchRefused(refusedMessage(url), url.href);
    throw new FetchRefused(`${url.href} could not be fetched: the network is not there.`, url.href);
  }
  if (response.status === 304 && kept) return new Uint8Array(await kept.arrayBuffer());
  if (response.type === 'opaque' || response.type === 'opaqueredirect') {
    if (kept) return new Uint8Array(await kept.arrayBuffer());
    throw new FetchRefused(refusedMessage(url), url.href);
  }
  if (!response.ok) {
    if (!how.required) return null;
    throw new FetchRefused(`${url.href}: ${response.status} ${response.statusText}`.trim(), url.href);
  }
  const data = await readBounded(response, url, how.budget, how.progress);
  if (cache) {
    // Only what says how to ask whether it changed is worth a second look; the rest is kept too,
    // for the network's absence, and fetched afresh otherwise.
    const headers = new Headers();
    for (const name of ['ETag', 'Last-Modified', 'Content-Type']) {
      const value = response.headers.get(name);
      if (value) headers.set(name, value);
    }
    await cache.put(url.href, new Response(data.slice(), {headers})).catch(() => {});
  }
  return data;
}

/**
 * The file name a link ends in: as UTF-8 where its escapes are that, else as the bytes they
 * give (a Shift_JIS name), one character a byte.
 * @param {URL} url
 * @returns {{path: string, raw?: boolean}}
 */
export function linkedName(url) {
  const escaped = url.pathname.split('/').pop() || 'set.cnf';
  try {
    return {path: decodeURIComponent(escaped)};
  } catch {
    return {path: escaped.replace(/%([0-9a-f]{2})/gi, (_, hex) => String.fromCharCode(parseInt(hex, 16))), raw: true};
  }
}

/** How many of a configuration's files are asked for at once. */
const kAtOnce = 6;

/**
 * What a link names, as entries to write: an archive as it is; a configuration and every file
 * it names from beside it (those missing are left for the core to report). All of it counts
 * against one limit.
 * @param {string} link an absolute http(s) URL
 * @param {{limit: number, progress: (event: {phase: 'download', count: number, total: number}) => void}} how
 * @returns {Promise<import('../files.js').Entry[]>}
 */
export async function entriesFromLink(link, how) {
  /** @type {URL} */
  let url;
  try {
    url = new URL(link);
  } catch {
    throw new FetchRefused(`${link} is not a link to a file.`);
  }
  if (url.protocol !== 'http:' && url.protocol !== 'https:') {
    throw new FetchRefused(`${link} is not a web link: only http and https links can be opened.`);
  }
  /** @type {Budget} */
  const budget = {limit: how.limit, left: how.limit};
  const spent = () => budget.limit - budget.left;
  const first = /** @type {Uint8Array<ArrayBuffer>} */ (await fetchKept(url, {budget, required: true,
    progress: (count, total) => how.progress({phase: 'download', count, total})}));
  /** @type {import('../files.js').Entry[]} */
  const entries = [{...linkedName(url), data: first, first: true}];
  const leaf = entries[0].path;
  if (!CONFIG.test(leaf)) return entries;
  const base = new URL('.', url);
  const names = namedFiles(first).filter((name) => !name.split('/').some((/** @type {string} */ p) => p === '..'));
  // A few at a time: the files are small and many, and a site is not flooded.
  const step = () => how.progress({phase: 'download', count: spent(), total: 0});
  let next = 0;
  const fetchRest = async () => {
    while (next < names.length) {
      const name = names[next++];
      const data = await fetchKept(new URL(urlPath(name), base), {budget, progress: step, required: false});
      if (data) entries.push({path: name, data, raw: true});
    }
  };
  await Promise.all(Array.from({length: kAtOnce}, fetchRest));
  return entries;
}
