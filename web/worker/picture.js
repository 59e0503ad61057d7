// The changed area, copied straight out of the module's memory into the buffer the worker hands
// to the page: the only copy a picture makes before the canvas's own. The core gives the area as
// the canvas takes it (red, green, blue, opaque): true colour in the map's own rows, which lie
// further apart than the area is wide, and 256 colours looked up into rows of the area's width.

/**
 * @param {{area: import('../binding').Rect, rowBytes: number}} picture
 * @param {Uint8Array} pixels the area's pixels from its top left one, `rowBytes` apart a row
 * @returns {Uint8ClampedArray<ArrayBuffer>} the area's pixels, four bytes each, rows without gaps
 */
export function copyArea({area, rowBytes}, pixels) {
  const w = Math.max(0, area.right - area.left);
  const h = Math.max(0, area.bottom - area.top);
  const row = w * 4;
  // Through a Uint8Array, as the module's view is one: a set between arrays of one kind is a
  // plain copy, while one into a Uint8ClampedArray may go value by value.
  const out = new Uint8Array(row * h);
  if (rowBytes === row) {
    out.set(pixels.subarray(0, row * h));
  } else {
    for (let y = 0; y < h; ++y) out.set(pixels.subarray(y * rowBytes, y * rowBytes + row), y * row);
  }
  return new Uint8ClampedArray(out.buffer);
}
