// The changed area of the composed map, read straight out of the module's memory into the
// buffer the worker hands to the page: the only copy a picture makes before the canvas's own.
// True colour's words are the canvas's red, green, blue, opaque already, so its rows are copied
// as they are; 256 colours are looked up a 32-bit word at a time from the colour table.

/**
 * @param {{area: import('../binding').Rect, trueColour: boolean, rowBytes: number}} picture
 * @param {Uint8Array} map the composed map's bytes
 * @param {Uint8Array} colours red, green, blue, 255 for each index (any offset a multiple of 4)
 * @returns {Uint8ClampedArray<ArrayBuffer>} the area's pixels, four bytes each, rows without gaps
 */
export function copyArea({area, trueColour, rowBytes}, map, colours) {
  const w = Math.max(0, area.right - area.left);
  const h = Math.max(0, area.bottom - area.top);
  const buffer = new ArrayBuffer(w * h * 4);
  if (trueColour) {
    // Through a Uint8Array, as the map's view is one: a set between arrays of one kind is a
    // plain copy, while one into a Uint8ClampedArray goes value by value in some engines.
    const out = new Uint8Array(buffer);
    const row = w * 4;
    for (let y = 0; y < h; ++y) {
      const from = (area.top + y) * rowBytes + area.left * 4;
      out.set(map.subarray(from, from + row), y * row);
    }
  } else if (w > 0) {
    const out = new Uint32Array(buffer);
    const table = new Uint32Array(colours.buffer, colours.byteOffset, 256);
    let to = 0;
    for (let y = 0; y < h; ++y) {
      let from = (area.top + y) * rowBytes + area.left;
      for (const end = from + w; from < end; ++from) out[to++] = table[map[from]];
    }
  }
  return new Uint8ClampedArray(buffer);
}
