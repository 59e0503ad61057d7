// Scene links, as text: `?open=…&set=N&group=G#p=…`, the fragment listing the objects that
// stand elsewhere than where their set first showed them, as "number.x.y" joined by commas
// (short, and left alone by every place a link is pasted into). Pure functions: the fragment
// comes from anyone, so reading it never throws and gives nothing out of range.

/** At most this many objects are put back: more than a set can have. */
export const kMaxPlaced = 4096;

const ITEM = /^(\d{1,5})\.(-?\d{1,5})\.(-?\d{1,5})$/;
const DIGIT = /^[0-9]$/;

/** @param {number} v */
const inInt16 = (v) => v >= -32768 && v <= 32767;

/**
 * The objects a fragment puts back, as [number, x, y]; what cannot be read is left out.
 * @param {string} hash `location.hash`, with or without its '#'
 * @returns {[number, number, number][]}
 */
export function decodePlaced(hash) {
  if (typeof hash !== 'string') return [];
  const text = hash.replace(/^#/, '');
  /** @type {string} */
  let list = '';
  for (const part of text.split('&')) {
    if (part.startsWith('p=')) list = part.slice(2);
  }
  /** @type {Map<number, [number, number, number]>} */
  const placed = new Map();
  for (const item of list.split(',', kMaxPlaced)) {
    const m = ITEM.exec(item);
    if (!m) continue;
    const [number, x, y] = [Number(m[1]), Number(m[2]), Number(m[3])];
    if (number > 32767 || !inInt16(x) || !inInt16(y)) continue;
    placed.set(number, [number, x, y]);
  }
  return [...placed.values()];
}

/**
 * The fragment for the objects given ('' when there are none).
 * @param {[number, number, number][]} moved
 */
export function encodePlaced(moved) {
  return moved.length ? `p=${moved.map((m) => m.join('.')).join(',')}` : '';
}

/**
 * The objects standing elsewhere now than in `base` (where their set first showed them),
 * by number.
 * @param {Map<number, [number, number]> | undefined} base
 * @param {[number, number, number][]} now
 * @returns {[number, number, number][]}
 */
export function movedObjects(base, now) {
  return now.filter(([n, x, y]) => {
    const was = base?.get(n);
    return !was || was[0] !== x || was[1] !== y;
  }).sort((a, b) => a[0] - b[0]);
}

/**
 * The set and colour group a link asks for: a single digit each, else none.
 * @param {URLSearchParams} params
 * @returns {{set: number | null, group: number | null}}
 */
export function sceneChoice(params) {
  const digit = (/** @type {string | null} */ v) => (v !== null && DIGIT.test(v) ? Number(v) : null);
  return {set: digit(params.get('set')), group: digit(params.get('group'))};
}

/**
 * The link to a scene: the page, the set's own link, the set and group shown, the moved objects.
 * @param {string} page the page's address (its query and fragment are dropped)
 * @param {string} link where the set came from
 * @param {number} set
 * @param {number} group
 * @param {[number, number, number][]} moved
 */
export function sceneUrl(page, link, set, group, moved) {
  const url = new URL(page);
  url.search = '';
  url.hash = '';
  const params = new URLSearchParams({open: link, set: String(set), group: String(group)});
  const fragment = encodePlaced(moved);
  return `${url.href}?${params}${fragment ? `#${fragment}` : ''}`;
}
