// Bytes from the set (names, comments, "debug(" texts, messages) as text for the person, decoded
// as the window decodes them: UTF-8 where the bytes are that, else Shift_JIS, as Japanese sets
// write them, else one character a byte, so that nothing is ever lost or refused.

/** @typedef {Uint8Array | ArrayLike<number>} ByteText */

const utf8 = new TextDecoder('utf-8', {fatal: true});
/** @type {TextDecoder | null} */
let shiftJis = null;
try {
  shiftJis = new TextDecoder('shift_jis', {fatal: true});
} catch {
  // An engine without the Japanese decoders: such texts fall through to one character a byte.
}

/**
 * One character a byte: the byte's own code point (Latin-1). The browsers' 'latin1' label is
 * windows-1252, which would turn 0x80 to 0x9F into other characters.
 * @param {Uint8Array} bytes
 * @returns {string}
 */
export function latin1(bytes) {
  let out = '';
  for (let i = 0; i < bytes.length; i += 4096) {
    out += String.fromCharCode.apply(null, Array.from(bytes.subarray(i, i + 4096)));
  }
  return out;
}

/**
 * @param {ByteText} bytes
 * @returns {Uint8Array}
 */
function asBytes(bytes) {
  return bytes instanceof Uint8Array ? bytes : Uint8Array.from(bytes);
}

/**
 * The text the window would show for these bytes.
 * @param {ByteText} bytes
 * @returns {string}
 */
export function decodeText(bytes) {
  const data = asBytes(bytes);
  try {
    return utf8.decode(data);
  } catch {
    // not UTF-8
  }
  if (shiftJis) {
    try {
      return shiftJis.decode(data);
    } catch {
      // not Shift_JIS either
    }
  }
  return latin1(data);
}

/**
 * A byte string (one character a byte, as the page keeps the core's paths) decoded the same way.
 * @param {string} byteString
 * @returns {string}
 */
export function decodeByteString(byteString) {
  return decodeText(Uint8Array.from(byteString, (c) => c.charCodeAt(0) & 0xff));
}
