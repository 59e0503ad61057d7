"""A preview of one demo set as a PNG: the cels composed in true colour the way the viewer does
it (last cel line first, transparency levels and alpha blended), for checking the drawings."""

import struct
import zlib


def _colour_table(palettes):
    """Colour groups and palette bases as loading builds them: the first file from index 0,
    later files after it without their colour 0; groups a file lacks copy its group 0."""
    table = [[(0, 0, 0)] * 256 for _ in range(10)]
    bases = []
    count = 0
    for number, groups in enumerate(palettes):
        skip = 1 if number else 0
        colours = len(groups[0])
        for g in range(10):
            source = groups[g] if g < len(groups) else groups[0]
            for i in range(skip, colours):
                table[g][count + i - skip] = source[i]
        bases.append((count - skip) & 0xFF)
        count += colours - skip
    return table, bases


def _blend(dest, colour, keep):
    """keep/256 of what lies beneath shows through."""
    return tuple((c * (256 - keep) + d * keep) >> 8 for c, d in zip(colour, dest))


def compose_png(size, cel_lines, cels, palettes, group, set_index, entries, hidden=()):
    width, height = size
    table, bases = _colour_table(palettes)
    picture = [table[group][0]] * (width * height)
    for obj, name, palette, sets, extra in reversed(cel_lines):
        if str(set_index) not in sets.split() or name in hidden or entries[obj] == "*":
            continue
        ox, oy = (int(v) for v in entries[obj].split(","))
        cel = cels[name]
        keep = int(extra[3:]) if extra.startswith(";%t") else 0
        for y in range(cel.height):
            for x in range(cel.width):
                px, py = ox + cel.x + x, oy + cel.y + y
                if not (0 <= px < width and 0 <= py < height):
                    continue
                i = py * width + px
                if cel.form == "true":
                    b, g, r, a = cel.bgra[y * cel.width + x]
                    if a:
                        picture[i] = tuple((s * a + d * (255 - a)) >> 8
                                           for s, d in zip((r, g, b), picture[i]))
                    continue
                v = cel.values[y * cel.width + x]
                if v:
                    colour = table[group][(v + bases[palette]) & 0xFF]
                    picture[i] = _blend(picture[i], colour, keep)
    return _png(width, height, picture)


def _png(width, height, pixels):
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for r, g, b in pixels[y * width:(y + 1) * width]:
            raw += bytes((r, g, b))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))
