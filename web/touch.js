// Fingers on the stage beyond the one that drags: two fingers pinch to zoom and pan about the
// point between them, and two quick taps toggle between the fit and 2× there. The arithmetic is
// kept free of the page so that it can be checked without a browser.

/** @typedef {{x: number, y: number}} Point */

// Two taps count as a double tap within this long (ms) and this near each other (CSS pixels).
export const DOUBLE_TAP_MS = 350;
export const DOUBLE_TAP_SLOP = 30;

/** The zoom a double tap toggles to from the fit. */
export const DOUBLE_TAP_ZOOM = 2;

/** @param {Point} a @param {Point} b */
export const distance = (a, b) => Math.hypot(a.x - b.x, a.y - b.y);

/** @param {Point} a @param {Point} b */
export const midpoint = (a, b) => ({x: (a.x + b.x) / 2, y: (a.y + b.y) / 2});

/**
 * A pinch under way: the fingers' distance and the zoom when it started, and the picture point
 * (map pixels) that was between the fingers then, which stays between them.
 * @typedef {{startDistance: number, startZoom: number, spot: Point}} Pinch
 */

/**
 * @param {Point} a
 * @param {Point} b
 * @param {number} zoom
 * @param {Point} spot
 * @returns {Pinch}
 */
export function startPinch(a, b, zoom, spot) {
  return {startDistance: Math.max(1, distance(a, b)), startZoom: zoom, spot};
}

/**
 * Where a pinch has got to with the fingers at a and b: the zoom, in proportion to how far the
 * fingers have spread or closed, and the middle its picture point goes under.
 * @param {Pinch} pinch
 * @param {Point} a
 * @param {Point} b
 */
export function pinchStep(pinch, a, b) {
  return {zoom: pinch.startZoom * Math.max(1, distance(a, b)) / pinch.startDistance, middle: midpoint(a, b)};
}

/**
 * Whether a tap at `point` at `time` makes a double tap with the tap before it (null for none).
 * @param {{point: Point, time: number} | null} last
 * @param {Point} point
 * @param {number} time
 */
export function isDoubleTap(last, point, time) {
  return last !== null && time - last.time <= DOUBLE_TAP_MS && distance(last.point, point) <= DOUBLE_TAP_SLOP;
}
