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
  const x = Math.trunc(point.x / zoom);
  const y = Math.trunc(point.y / zoom);
  return {x: clamp(x, 0, picture.width - 1), y: clamp(y, 0, picture.height - 1)};
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
