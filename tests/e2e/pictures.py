"""RGB pictures for the end-to-end test: read from PNG (tavro-render's output) and PPM (the
screenshots), compared pixel by pixel, written as PNG for a person to look at, and turned into the
bitmap that Edit > Copy must put on the clipboard. Python standard library only."""

import struct
import zlib


class Picture:
    """Width x height pixels, three bytes (red, green, blue) each, rows top-down."""

    def __init__(self, width, height, rgb):
        assert len(rgb) == width * height * 3
        self.width = width
        self.height = height
        self.rgb = bytes(rgb)

    def row(self, y):
        stride = self.width * 3
        return self.rgb[y * stride:(y + 1) * stride]

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def crop(self, left, top, width, height):
        if left < 0 or top < 0 or left + width > self.width or top + height > self.height:
            raise ValueError("crop %dx%d at %d,%d leaves a %dx%d picture" %
                             (width, height, left, top, self.width, self.height))
        rows = (self.row(top + y)[left * 3:(left + width) * 3] for y in range(height))
        return Picture(width, height, b"".join(rows))

    def __eq__(self, other):
        return (isinstance(other, Picture) and self.width == other.width and
                self.height == other.height and self.rgb == other.rgb)

    def find(self, inner, left, top, right, bottom):
        """Top left corner (x, y) of the first place within [left, right) x [top, bottom) where
        `inner` appears pixel for pixel, or None."""
        first = inner.row(0)
        for y in range(max(0, top), min(bottom, self.height - inner.height + 1)):
            line = self.row(y)
            start = max(0, left) * 3
            while True:
                at = line.find(first, start, min(right, self.width) * 3 + len(first))
                if at < 0:
                    break
                if at % 3 == 0 and self.crop(at // 3, y, inner.width, inner.height) == inner:
                    return at // 3, y
                start = at + 1
        return None


def difference(actual, expected):
    """A one-line account of how two pictures differ, or None when they are equal."""
    if (actual.width, actual.height) != (expected.width, expected.height):
        return "size %dx%d, expected %dx%d" % (actual.width, actual.height,
                                               expected.width, expected.height)
    count, first, box = 0, None, None
    for y in range(actual.height):
        a, e = actual.row(y), expected.row(y)
        if a == e:
            continue
        for x in range(actual.width):
            if a[x * 3:x * 3 + 3] != e[x * 3:x * 3 + 3]:
                count += 1
                first = first or (x, y)
                box = (x, y, x, y) if box is None else (
                    min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y))
    if count == 0:
        return None
    x, y = first
    return ("%d pixels differ within (%d,%d)-(%d,%d); the first, at (%d,%d), is %s, expected %s" %
            (count, box[0], box[1], box[2], box[3], x, y, actual.pixel(x, y),
             expected.pixel(x, y)))


# --- PPM (what `import ... ppm:-` writes) -------------------------------------------------------

def read_ppm(data):
    """Binary PPM (P6) with a maximum value of 255."""
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    magic, width, height, maximum = fields[0], int(fields[1]), int(fields[2]), int(fields[3])
    if magic != b"P6" or maximum != 255:
        raise ValueError("not an 8-bit binary PPM (%r, maximum %d)" % (magic, maximum))
    pos += 1  # the one whitespace byte after the maximum
    return Picture(width, height, data[pos:pos + width * height * 3])


# --- PNG ------------------------------------------------------------------------------------------

def _chunks(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos = 8
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        yield kind, data[pos + 8:pos + 8 + length]
        pos += 12 + length


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


# What each filter type adds back to a byte, from the bytes to its left, above, and above left.
_PREDICTORS = (lambda a, b, c: 0, lambda a, b, c: a, lambda a, b, c: b,
               lambda a, b, c: (a + b) >> 1, _paeth)


def read_png(data):
    """8-bit RGB or RGBA, not interlaced: what tavro-render writes (alpha is dropped)."""
    header = None
    packed = b""
    for kind, body in _chunks(data):
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            packed += body
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        raise ValueError("PNG form not handled: depth %d, colour type %d" % (depth, colour))
    channels = 3 if colour == 2 else 4
    stride = width * channels
    raw = zlib.decompress(packed)
    rows = []
    previous = bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            line[i] = (line[i] + _PREDICTORS[kind](left, up, corner)) & 0xFF
        rows.append(line if channels == 3 else
                    b"".join(line[x * 4:x * 4 + 3] for x in range(width)))
        previous = line
    return Picture(width, height, b"".join(bytes(r) for r in rows))


def write_png(picture, path):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + picture.row(y) for y in range(picture.height))
    data = (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", picture.width, picture.height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(data)


# --- The copied bitmap ---------------------------------------------------------------------------

def clipboard_bmp(picture, colours):
    """The BMP file that Edit > Copy must offer as image/bmp for a picture of at most 16 colours:
    a 14-byte file header, then the device-independent bitmap (40-byte header, a table of 16
    colours, 4-bit rows bottom-up with the left pixel in the high nibble, each row padded to 4
    bytes, and one spare zero byte at the end). `colours` is the current colour group, index by
    index; every pixel of the picture must be one of them."""
    assert len(colours) <= 16
    index_of = {tuple(c): i for i, c in enumerate(colours)}
    assert len(index_of) == len(colours), "colours of the group must be distinct"
    row_bytes = (picture.width + 7) // 8 * 4
    pixels = bytearray()
    for y in reversed(range(picture.height)):
        row = bytearray(row_bytes)
        for x in range(picture.width):
            value = index_of[picture.pixel(x, y)]
            row[x // 2] |= value << 4 if x % 2 == 0 else value
        pixels += row
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in colours) + bytes(4 * (16 - len(colours)))
    info = struct.pack("<IiiHHIIiiII", 40, picture.width, picture.height, 1, 4, 0, 0, 0, 0, 0, 0)
    dib = info + table + bytes(pixels) + b"\0"
    return b"BM" + struct.pack("<IHHI", 14 + len(dib), 0, 0, 14 + len(info) + len(table)) + dib
