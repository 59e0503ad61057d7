"""Byte-exact writers for the demo set's files: cels (old form, new indexed form, 32-bit),
palettes (old 12-bit form, new form) and a synthesised chime as a WAV file."""

import math
import struct
import wave


def _le16(value):
    return struct.pack("<H", value & 0xFFFF)


def _rows_4bit(width, height, values):
    out = bytearray()
    for y in range(height):
        row = values[y * width:(y + 1) * width]
        for x in range(0, width, 2):
            high = row[x] & 0x0F
            low = row[x + 1] & 0x0F if x + 1 < width else 0
            out.append(high << 4 | low)
    return bytes(out)


def _new_header(mark, depth, width, height, x, y):
    head = b"MiVO" + bytes([mark, depth]) + _le16(0)
    head += _le16(width) + _le16(height) + _le16(x) + _le16(y)
    return head + bytes(32 - len(head))


def encode_old_cel(width, height, values):
    """Old form: width, height, 4-bit pixels; no offset."""
    return _le16(width) + _le16(height) + _rows_4bit(width, height, values)


def encode_indexed_cel(depth, width, height, x, y, values):
    """New form, mark 0x20, 4 or 8 bits a pixel, with the cel's offset in its object."""
    pixels = _rows_4bit(width, height, values) if depth == 4 else bytes(values)
    return _new_header(0x20, depth, width, height, x, y) + pixels


def encode_true_cel(width, height, x, y, bgra):
    """New form, mark 0x21: blue, green, red, alpha for every pixel."""
    return _new_header(0x21, 32, width, height, x, y) + b"".join(bytes(p) for p in bgra)


def _colour12(rgb):
    r, g, b = rgb
    return bytes([(r >> 4) << 4 | (b >> 4), g >> 4])


def encode_old_palette(groups):
    """Old form: ten groups of sixteen 12-bit colours, no header."""
    assert len(groups) == 10 and all(len(g) == 16 for g in groups)
    return b"".join(_colour12(c) for group in groups for c in group)


def encode_new_palette(depth, colours, groups):
    """New form: header, then each group's colours (24-bit red, green, blue, or 12-bit)."""
    head = b"MiVO" + bytes([0x10, depth]) + _le16(0) + _le16(colours) + _le16(len(groups))
    head += bytes(32 - len(head))
    body = bytearray()
    for group in groups:
        for c in group[:colours]:
            body += bytes(c) if depth == 24 else _colour12(c)
    return head + bytes(body)


def write_chime(path, rate=22050):
    """Two bell-like notes a moment apart, fading out within half a second."""
    notes = [(0.0, 1046.5), (0.09, 1568.0)]
    length = int(rate * 0.5)
    samples = []
    for n in range(length):
        t = n / rate
        value = 0.0
        for start, freq in notes:
            if t >= start:
                u = t - start
                envelope = min(1.0, u / 0.004) * math.exp(-u * 9.0)
                value += envelope * (math.sin(2 * math.pi * freq * u) +
                                     0.3 * math.sin(2 * math.pi * 2.76 * freq * u))
        samples.append(int(max(-1.0, min(1.0, value * 0.35)) * 32767))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(struct.pack("<%dh" % len(samples), *samples))
