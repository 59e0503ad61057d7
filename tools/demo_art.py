"""The demo doll and her clothes, drawn from ellipses, polygons and lines.

Everything is drawn in one coordinate space, the doll's own (DOLL_W x DOLL_H, origin top left),
so that clothes line up with the body; each drawing is then cropped to the pixels it uses.
Shapes are masks held as Python integers, one bit a pixel, which makes unions, cuts and the
one-pixel outlines cheap.
"""

import math

DOLL_W, DOLL_H = 160, 330
FULL = (1 << (DOLL_W * DOLL_H)) - 1

# Body palette (palette 0) indices.
OUT, SKIN, SHADE, CHEEK, HAIR, HAIR_LIGHT, WHITE, IRIS, LIPS, PUPIL, UNDER, MOUTH_IN = range(1, 13)
# Clothes palette (palette 1) file values.
C_OUT, A, A_SHADE, A_LIGHT, B, B_SHADE, TRIM, LEATHER, LEATHER_DARK = range(1, 10)
STRAW, STRAW_SHADE, RIBBON, GOLD, C, C_SHADE = range(10, 16)


# ---- masks ----

def _span(y, x0, x1):
    x0, x1 = max(0, x0), min(DOLL_W - 1, x1)
    if x1 < x0 or not 0 <= y < DOLL_H:
        return 0
    return ((1 << (x1 - x0 + 1)) - 1) << (y * DOLL_W + x0)


def ellipse(cx, cy, rx, ry):
    m = 0
    for y in range(int(cy - ry) - 1, int(cy + ry) + 2):
        dy = (y + 0.5 - cy) / ry
        if abs(dy) > 1:
            continue
        half = rx * math.sqrt(1 - dy * dy)
        m |= _span(y, math.ceil(cx - half - 0.5), math.floor(cx + half - 0.5))
    return m


def poly(points):
    m = 0
    ys = [p[1] for p in points]
    for y in range(int(min(ys)), int(max(ys)) + 1):
        yc = y + 0.5
        xs = []
        for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
            if (y0 <= yc < y1) or (y1 <= yc < y0):
                xs.append(x0 + (yc - y0) * (x1 - x0) / (y1 - y0))
        xs.sort()
        for a, b in zip(xs[::2], xs[1::2]):
            m |= _span(y, math.ceil(a - 0.5), math.floor(b - 0.5))
    return m


def rect(x0, y0, x1, y1):
    """Inclusive corners."""
    m = 0
    for y in range(y0, y1 + 1):
        m |= _span(y, x0, x1)
    return m


def rows(y0, y1):
    return rect(0, y0, DOLL_W - 1, y1)


def cols(x0, x1):
    return rect(x0, 0, x1, DOLL_H - 1)


def line(x0, y0, x1, y1):
    steps = int(max(abs(x1 - x0), abs(y1 - y0))) + 1
    m = 0
    for i in range(steps + 1):
        t = i / steps
        m |= _span(round(y0 + (y1 - y0) * t), round(x0 + (x1 - x0) * t),
                   round(x0 + (x1 - x0) * t))
    return m


def grow(m):
    """The mask and its eight neighbours (shapes stay clear of the drawing's edges)."""
    w = DOLL_W
    out = m
    for shift in (1, w - 1, w, w + 1):
        out |= (m << shift) | (m >> shift)
    return out & FULL


def mirror(m):
    """Left and right swapped about the doll's middle."""
    out = 0
    for y in range(DOLL_H):
        row = (m >> (y * DOLL_W)) & ((1 << DOLL_W) - 1)
        if row:
            out |= int(format(row, "0%db" % DOLL_W)[::-1], 2) << (y * DOLL_W)
    return out


def both(m):
    return m | mirror(m)


def dots(mask, step, radius, stagger=True):
    m = 0
    for y in range(0, DOLL_H, step):
        shift = step // 2 if stagger and (y // step) % 2 else 0
        for x in range(shift, DOLL_W, step):
            m |= ellipse(x, y, radius, radius)
    return m & mask


# ---- drawings ----

class Drawing:
    def __init__(self):
        self.px = bytearray(DOLL_W * DOLL_H)

    def paint(self, mask, value):
        y = 0
        while mask:
            row = mask & ((1 << DOLL_W) - 1)
            x = 0
            while row:
                if row & 1:
                    self.px[y * DOLL_W + x] = value
                row >>= 1
                x += 1
            mask >>= DOLL_W
            y += 1

    def outlined(self, mask, fill, outline):
        self.paint(grow(mask), outline)
        self.paint(mask, fill)

    def crop(self):
        xs = [i % DOLL_W for i, v in enumerate(self.px) if v]
        ys = [i // DOLL_W for i, v in enumerate(self.px) if v]
        x0, y0, x1, y1 = min(xs), min(ys), max(xs), max(ys)
        values = [self.px[y * DOLL_W + x] for y in range(y0, y1 + 1) for x in range(x0, x1 + 1)]
        return x0, y0, x1 - x0 + 1, y1 - y0 + 1, values


class Cel:
    """A finished cel: `form` is "old" (4-bit, no offset), "new4", "new8" or "true".
    (doll_x, doll_y) is where its top left lies in the doll's drawing; (x, y) is the offset
    written into the file."""

    def __init__(self, form, width, height, values=None, bgra=None, doll_x=0, doll_y=0,
                 offset=False):
        self.form = form
        self.depth = 4 if form in ("old", "new4") else 8
        self.width, self.height = width, height
        self.values, self.bgra = values, bgra
        self.doll_x, self.doll_y = doll_x, doll_y
        self.x, self.y = (doll_x, doll_y) if offset else (0, 0)


def finish(drawing, form, offset=False):
    x0, y0, w, h, values = drawing.crop()
    return Cel(form, w, h, values, doll_x=x0, doll_y=y0, offset=offset)


EYES = [(67, 61), (93, 61)]


def body():
    d = Drawing()
    arm = poly([(50, 112), (61, 117), (49, 170), (43, 213), (33, 211), (38, 167)])
    leg = poly([(62, 217), (80, 217), (78, 302), (65, 302)])
    skin = (ellipse(80, 58, 33, 38) | both(ellipse(47, 63, 6, 8)) | rect(72, 88, 88, 114) |
            poly([(55, 110), (105, 110), (100, 150), (97, 195), (104, 222), (56, 222),
                  (63, 195), (60, 150)]) |
            both(ellipse(58, 119, 10, 10)) | both(arm) | both(ellipse(37, 219, 7, 9)) |
            both(leg) | both(ellipse(70, 306, 10, 6)))
    d.outlined(skin, SKIN, OUT)
    d.paint(ellipse(80, 95, 10, 5) & rect(72, 95, 88, 114), SHADE)
    d.paint(both(line(46, 168, 44, 200)) | both(line(71, 240, 72, 290)), SHADE)
    slip = poly([(61, 124), (99, 124), (97, 160), (98, 198), (104, 224), (80, 230),
                 (56, 224), (62, 198), (63, 160)])
    d.outlined(slip, UNDER, OUT)
    d.paint(slip & rows(124, 128), WHITE)
    d.paint(both(line(64, 110, 64, 124)), UNDER)
    d.paint(both(ellipse(64, 75, 6, 3.5)), CHEEK)
    d.paint(both((ellipse(67, 52, 7, 4) & ~ellipse(67, 54, 7, 4)) & rows(0, 52)), HAIR)
    d.paint(rect(80, 68, 81, 69), SHADE)
    return finish(d, "new8", offset=True)


def eyes_open():
    d = Drawing()
    for ex, ey in EYES:
        d.outlined(ellipse(ex, ey, 5.5, 6.5), WHITE, OUT)
        d.paint(ellipse(ex, ey + 1, 3.6, 4.6), IRIS)
        d.paint(ellipse(ex, ey + 1.5, 1.8, 2.4), PUPIL)
        d.paint(rect(ex - 2, ey - 1, ex - 1, ey), WHITE)
        d.paint((ellipse(ex, ey, 6.5, 7.5) & ~ellipse(ex, ey + 1, 6, 7)) & rows(0, ey - 3), OUT)
    return finish(d, "new8", offset=True)


def eyes_shut():
    d = Drawing()
    for ex, ey in EYES:
        lid = (ellipse(ex, ey - 1, 6.5, 5) & ~ellipse(ex, ey - 2, 5.5, 4)) & rows(ey, 330)
        d.paint(lid, OUT)
    return finish(d, "new8", offset=True)


def mouth():
    d = Drawing()
    d.paint(ellipse(80, 81, 4.5, 1.8), LIPS)
    return finish(d, "new8", offset=True)


def smile():
    d = Drawing()
    grin = ellipse(80, 79, 8, 6) & rows(79, 330)
    d.outlined(grin, MOUTH_IN, LIPS)
    d.paint(grin & rows(79, 80), WHITE)
    return finish(d, "new8", offset=True)


def hair_back():
    d = Drawing()
    hair = (ellipse(80, 58, 41, 44) | poly([(40, 62), (120, 62), (126, 150), (34, 150)]) |
            ellipse(80, 150, 46, 12))
    d.outlined(hair, HAIR, OUT)
    for x in (48, 58, 102, 112):
        d.paint(line(x, 100, x + (x - 80) // 8, 156) & hair, HAIR_LIGHT)
    return finish(d, "new8", offset=True)


def hair_front():
    d = Drawing()
    fringe = 0
    for x in range(40, 121):
        bottom = 44 + int(7 * abs(math.sin((x - 43) * math.pi / 12.5)))
        fringe |= _span_column(x, 0, bottom)
    cap = ellipse(80, 55, 37, 38) & fringe
    locks = both(poly([(43, 46), (54, 46), (52, 104), (41, 100)]))
    d.outlined(cap | locks, HAIR, OUT)
    d.paint(ellipse(70, 33, 14, 5) & ~ellipse(72, 35, 14, 5), HAIR_LIGHT)
    return finish(d, "new8", offset=True)


def _span_column(x, y0, y1):
    return rect(x, y0, x, y1)


def sundress():
    d = Drawing()
    straps = both(rect(63, 104, 67, 124))
    bodice = poly([(60, 120), (100, 120), (97, 160), (96, 192), (64, 192), (63, 160)])
    skirt = poly([(64, 188), (96, 188), (124, 264), (36, 264)])
    hem = 0
    for x in range(40, 122, 8):
        hem |= ellipse(x, 264, 4.5, 4)
    dress = straps | bodice | skirt | (hem & poly([(64, 188), (96, 188), (126, 270),
                                                   (34, 270)]))
    d.outlined(dress, A, C_OUT)
    d.paint(dress & rows(257, 330), A_LIGHT)
    d.paint(dots(skirt & rows(196, 252), 12, 1.6), TRIM)
    d.paint(dress & rows(186, 193), RIBBON)
    bow = poly([(80, 190), (70, 184), (70, 196)])
    d.outlined(both(bow), RIBBON, C_OUT)
    d.paint(ellipse(80, 190, 2.5, 2.5), GOLD)
    return finish(d, "new8")


def straw_hat():
    d = Drawing()
    crown = ellipse(80, 24, 27, 21) & rows(0, 33)
    brim = ellipse(80, 33, 54, 11)
    d.outlined(brim | crown, STRAW, C_OUT)
    for y in range(28, 44, 4):
        d.paint(brim & ~grow(crown) & rows(y, y), STRAW_SHADE)
    d.paint(grow(crown) & ~crown & brim, C_OUT)
    d.paint(crown & rows(26, 31), RIBBON)
    d.outlined(ellipse(104, 28, 3, 3), GOLD, C_OUT)
    return finish(d, "old")


def sandals():
    def one(side):
        d = Drawing()
        sole = ellipse(70, 311, 11, 4)
        straps = rect(61, 304, 79, 306) | rect(64, 298, 76, 300) | rect(69, 298, 71, 306)
        parts = [sole, straps]
        if side == "right":
            parts = [mirror(p) for p in parts]
        d.outlined(parts[0], LEATHER, C_OUT)
        d.outlined(parts[1], LEATHER_DARK, C_OUT)
        return d
    left, right = one("left"), one("right")
    lx, ly, lw, lh, lv = left.crop()
    rx, ry, rw, rh, rv = right.crop()
    # One object, two cels: the right sandal's offset says where it lies beside the left one.
    return (Cel("new4", lw, lh, lv, doll_x=lx, doll_y=ly),
            _offset_cel("new4", rw, rh, rv, rx, ry, rx - lx, ry - ly))


def _offset_cel(form, w, h, values, doll_x, doll_y, off_x, off_y):
    cel = Cel(form, w, h, values, doll_x=doll_x, doll_y=doll_y)
    cel.x, cel.y = off_x, off_y
    return cel


def blouse():
    d = Drawing()
    shirt = poly([(56, 110), (104, 110), (100, 150), (99, 204), (61, 204), (60, 150)])
    sleeves = both(ellipse(56, 121, 13, 12))
    d.outlined(shirt | sleeves, B, C_OUT)
    d.paint(sleeves & rows(128, 134), B_SHADE)
    d.paint(shirt & cols(0, 64) & rows(136, 204), B_SHADE)
    collar = both(poly([(80, 116), (67, 107), (65, 122)]))
    d.outlined(collar, TRIM, C_OUT)
    for k in range(5):
        d.paint(ellipse(80, 130 + 15 * k, 1.7, 1.7), GOLD)
    return finish(d, "new8")


def skirt():
    d = Drawing()
    shape = poly([(62, 196), (98, 196), (114, 252), (46, 252)])
    d.outlined(shape, A, C_OUT)
    for k in (-3, -2, -1, 1, 2, 3):
        d.paint(line(80 + 6 * k, 202, 80 + 10 * k, 252) & shape, A_SHADE)
    d.paint(shape & rows(196, 201), A_SHADE)
    d.paint(shape & rows(247, 252), A_LIGHT)
    return finish(d, "old")


def shawl():
    d = Drawing()
    shape = poly([(48, 110), (112, 110), (108, 128), (80, 178), (52, 128)])
    d.outlined(shape, A_LIGHT, C_OUT)
    lattice = 0
    for y in range(110, 180):
        for x in range(48, 113):
            if (x + y) % 8 == 0 or (x - y) % 8 == 0:
                lattice |= 1 << (y * DOLL_W + x)
    d.paint(lattice & shape & ~grow(FULL & ~shape), A)
    return finish(d, "new8")


def shoes():
    d = Drawing()
    d.outlined(both(ellipse(70, 308, 11, 6)), LEATHER_DARK, C_OUT)
    d.paint(both(rect(63, 300, 77, 302)), LEATHER_DARK)
    d.paint(both(ellipse(66, 306, 3, 1.5)), LEATHER)
    d.paint(rect(74, 300, 75, 302) | rect(85, 300, 86, 302), GOLD)
    return finish(d, "new8")


def coat():
    d = Drawing()
    body_part = poly([(52, 106), (108, 106), (116, 262), (44, 262)])
    sleeves = both(poly([(52, 110), (64, 118), (52, 172), (46, 212), (30, 210), (36, 166)]))
    shape = body_part | sleeves
    d.outlined(shape, C, C_OUT)
    d.paint(sleeves & rows(200, 214), C_SHADE)
    d.paint(poly([(66, 104), (94, 104), (88, 116), (80, 124), (72, 116)]), C_SHADE)
    d.paint(line(80, 124, 80, 262), C_OUT)
    d.paint(body_part & rows(186, 192), C_SHADE)
    d.paint(both(rect(55, 212, 67, 224)), C_SHADE)
    for k in range(5):
        d.paint(both(ellipse(74, 140 + 20 * k, 1.8, 1.8)), GOLD)
    return finish(d, "new8")


def scarf():
    d = Drawing()
    wrap = ellipse(80, 110, 21, 8)
    tail = poly([(86, 112), (98, 112), (100, 172), (88, 172)])
    d.outlined(wrap | tail, RIBBON, C_OUT)
    for y in range(120, 172, 12):
        d.paint(tail & rows(y, y + 5), TRIM)
    for x in range(88, 101, 3):
        d.paint(line(x, 174, x, 180), RIBBON)
    return finish(d, "new4")


def bobble_hat():
    d = Drawing()
    cap = ellipse(80, 42, 38, 30) & rows(0, 42)
    band = rect(42, 34, 118, 45)
    pompom = ellipse(80, 12, 9, 9)
    d.outlined(cap | band | pompom, B, C_OUT)
    for x in range(50, 112, 6):
        d.paint(cap & cols(x, x) & rows(16, 33), B_SHADE)
    d.paint(band, B_SHADE)
    d.paint(band & rows(38, 40), TRIM)
    d.paint(pompom, TRIM)
    return finish(d, "old")


def bubble(radius=27):
    """A soap bubble: a see-through disc with a coloured rim and a bright highlight."""
    size = 2 * radius + 4
    c = size / 2
    bgra = []
    for y in range(size):
        for x in range(size):
            dx, dy = x + 0.5 - c, y + 0.5 - c
            dist = math.hypot(dx, dy)
            cover = max(0.0, min(1.0, radius + 0.5 - dist))
            rim = max(0.0, (dist / radius) ** 6)
            angle = math.atan2(dy, dx)
            r = int(180 + 70 * math.cos(angle))
            g = int(190 + 60 * math.cos(angle + 2.1))
            b = int(200 + 55 * math.cos(angle + 4.2))
            alpha = (40 + 170 * rim) * cover
            hx, hy = dx + radius * 0.4, dy + radius * 0.45
            if (hx / 7) ** 2 + (hy / 4) ** 2 <= 1:
                r, g, b, alpha = 255, 255, 255, 235 * cover
            bgra.append((b, g, r, int(alpha)))
    return Cel("true", size, size, bgra=bgra)


def draw_all():
    left, right = sandals()
    return {
        "body.cel": body(),
        "eyesopen.cel": eyes_open(),
        "eyesshut.cel": eyes_shut(),
        "mouth.cel": mouth(),
        "smile.cel": smile(),
        "hairback.cel": hair_back(),
        "hairfront.cel": hair_front(),
        "sundress.cel": sundress(),
        "strawhat.cel": straw_hat(),
        "sandall.cel": left,
        "sandalr.cel": right,
        "blouse.cel": blouse(),
        "skirt.cel": skirt(),
        "shawl.cel": shawl(),
        "shoes.cel": shoes(),
        "coat.cel": coat(),
        "scarf.cel": scarf(),
        "bobble.cel": bobble_hat(),
        "bubble.cel": bubble(),
    }
