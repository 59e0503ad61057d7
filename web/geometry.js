// The arithmetic of the zoomed, scrolled picture, as the window's view does it, kept free of the
// page so that it can be checked without a browser. Window pixels are the stage's CSS pixels;
// map pixels are the set's.

/** @typedef {{x: number, y: number}} Point */
/** @typedef {{width: number, height: number}} Size */
/** @typedef {{left: number, top: number, right: number, bottom: number}} Rect */
/** @typedef {'left' | 'up' | 'right' | 'down'} Direction */

/**
 * @param {number} value
 * @param {number} low
 * @param {number} high
 */
const clamp = (value, low, high) => Math.min(Math.max(value, low), Math.max(low, high));

/**
 * The map point under a point of the stage, held to the picture: a press or right click beside
 * or below the picture is taken at the nearest point of its edge, as in the window.
 * @param {Point} point  relative to the picture's top left corner, in window pixels
 * @param {number} zoom
 * @param {Size} picture  in map pixels
 * @returns {Point}
 */
export function mapPointAt(point, zoom, picture) {
  const x = mapPixel(point.x, zoom);
  const y = mapPixel(point.y, zoom);
  return {x: clamp(x, 0, picture.width - 1), y: clamp(y, 0, picture.height - 1)};
}

// At a fractional zoom a map pixel's left edge is a product like 0.8125 × 37 that division does
// not always give back exactly; a hair of slack keeps that edge inside its own pixel.
const EDGE_SLACK = 1e-7;

/**
 * The map pixel a window coordinate falls in (negative beside the picture's top or left edge).
 * @param {number} windowPixels
 * @param {number} zoom  any factor above 0, fractional at a fit
 */
export function mapPixel(windowPixels, zoom) {
  return Math.floor(windowPixels / zoom + EDGE_SLACK);
}

/**
 * The zoom at which the whole picture just fits into `space`. Enlarging keeps to whole factors
 * where asked (a desktop: pixels stay square and sharp); shrinking, and enlarging on a phone, may
 * take any factor. An empty picture or space leaves the picture at 1.
 * @param {Size} picture  in map pixels
 * @param {Size} space  in window pixels
 * @param {boolean} wholeWhenEnlarging
 */
export function fitZoom(picture, space, wholeWhenEnlarging) {
  if (picture.width <= 0 || picture.height <= 0 || space.width <= 0 || space.height <= 0) return 1;
  const scale = Math.min(space.width / picture.width, space.height / picture.height);
  if (scale >= 1 && wholeWhenEnlarging) return Math.floor(scale);
  return scale;
}

/**
 * The next zoom step up from any factor, a fractional fit too: the next whole factor, at most
 * `high`.
 * @param {number} zoom
 * @param {number} high
 */
export function zoomStepUp(zoom, high) {
  return Math.min(high, Math.floor(zoom + EDGE_SLACK) + 1);
}

/**
 * The next zoom step down: the next whole factor below, at least `low`.
 * @param {number} zoom
 * @param {number} low
 */
export function zoomStepDown(zoom, low) {
  return Math.max(low, Math.ceil(zoom - EDGE_SLACK) - 1);
}

/**
 * The picture point (in map pixels, fractional) under a point of the stage's visible area
 * (window pixels). The picture is centred in the stage where it is smaller than it
 * (`centringOffset`).
 * @param {Point} at
 * @param {Point} scroll
 * @param {number} zoom
 * @param {Size} picture
 * @param {Size} client
 * @returns {Point}
 */
export function pictureUnder(at, scroll, zoom, picture, client) {
  const offset = centringOffset(picture, zoom, client);
  return {x: (at.x + scroll.x - offset.x) / zoom, y: (at.y + scroll.y - offset.y) / zoom};
}

/**
 * Where to scroll at `zoom` so that the picture point `spot` (map pixels) is under `at`, as far
 * as the scroll range allows. A pinch keeps the point it started on under the fingers' middle
 * this way, however far they move, without rounding piling up from step to step.
 * @param {Point} spot
 * @param {Point} at
 * @param {number} zoom
 * @param {Size} picture
 * @param {Size} client
 * @returns {Point}
 */
export function scrollKeeping(spot, at, zoom, picture, client) {
  const offset = centringOffset(picture, zoom, client);
  const limit = maxScroll({width: picture.width * zoom, height: picture.height * zoom}, client);
  return {x: clamp(spot.x * zoom + offset.x - at.x, 0, limit.x), y: clamp(spot.y * zoom + offset.y - at.y, 0, limit.y)};
}

/**
 * Where a picture smaller than the stage has its top left corner: centred in each direction
 * where it is narrower or lower than the stage, else at the content's edge.
 * @param {Size} picture  in map pixels
 * @param {number} zoom
 * @param {Size} client
 * @returns {Point}
 */
export function centringOffset(picture, zoom, client) {
  return {x: Math.max(0, (client.width - picture.width * zoom) / 2),
    y: Math.max(0, (client.height - picture.height * zoom) / 2)};
}

/**
 * Farthest scroll position in each direction for a content of `total` seen through `client`.
 * @param {Size} total
 * @param {Size} client
 * @returns {Point}
 */
export function maxScroll(total, client) {
  return {x: Math.max(0, total.width - client.width), y: Math.max(0, total.height - client.height)};
}

/**
 * One page of arrow-key scrolling: a tenth of the content, held within the scroll range;
 * nothing moves where the whole content is in view.
 * @param {Direction} direction
 * @param {Size} client
 * @param {Point} scroll
 * @param {Size} total
 * @returns {Point}
 */
export function arrowScrollTarget(direction, client, scroll, total) {
  if (client.width >= total.width && client.height >= total.height) return scroll;
  const pageX = Math.floor(total.width / 10);
  const pageY = Math.floor(total.height / 10);
  let {x, y} = scroll;
  if (direction === 'left') x -= pageX;
  else if (direction === 'right') x += pageX;
  else if (direction === 'up') y -= pageY;
  else y += pageY;
  const limit = maxScroll(total, client);
  return {x: clamp(x, 0, limit.x), y: clamp(y, 0, limit.y)};
}

/**
 * Where to scroll after the zoom changes, so that the map point under the middle of the stage
 * stays there as far as the content allows. Never negative.
 * @param {Size} client
 * @param {Point} scroll
 * @param {number} oldZoom
 * @param {number} newZoom
 * @param {Size} picture  in map pixels
 * @returns {Point}
 */
export function zoomScrollTarget(client, scroll, oldZoom, newZoom, picture) {
  const cx = Math.trunc((Math.trunc(client.width / 2) + scroll.x) / Math.max(oldZoom, 1));
  const cy = Math.trunc((Math.trunc(client.height / 2) + scroll.y) / Math.max(oldZoom, 1));
  let x = cx * newZoom - Math.trunc(client.width / 2);
  let y = cy * newZoom - Math.trunc(client.height / 2);
  if (x + client.width > newZoom * picture.width) x = newZoom * picture.width - client.width;
  if (y + client.height > newZoom * picture.height) y = newZoom * picture.height - client.height;
  return {x: Math.max(0, x), y: Math.max(0, y)};
}

/**
 * Where to scroll so the view follows a held object that moved by `step` map pixels and now
 * covers `box`: on by the step, enlarged, when the object reaches past the visible part in the
 * direction it moved; else where the view is. Not held to the scroll range.
 * @param {Rect} box  in map pixels
 * @param {Point} step
 * @param {number} zoom
 * @param {Point} scroll
 * @param {Size} client
 * @returns {Point}
 */
export function followHeldObject(box, step, zoom, scroll, client) {
  const shown = {
    left: Math.trunc(scroll.x / zoom), top: Math.trunc(scroll.y / zoom),
    right: Math.trunc((scroll.x + client.width) / zoom), bottom: Math.trunc((scroll.y + client.height) / zoom),
  };
  const leaves = (box.left < shown.left && step.x < 0) || (box.right > shown.right && step.x > 0) ||
    (box.top < shown.top && step.y < 0) || (box.bottom > shown.bottom && step.y > 0);
  return leaves ? {x: scroll.x + step.x * zoom, y: scroll.y + step.y * zoom} : scroll;
}
