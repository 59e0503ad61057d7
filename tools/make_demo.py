#!/usr/bin/env python3
"""Builds the bundled demo set: a doll with three outfits, drawn from simple shapes.

Writes demo.cnf, its palette files, cel files and a short chime into examples/demo/ (or the
directory given). Python 3 standard library only; the output is the same on every run.

    tools/make_demo.py [OUTPUT_DIR] [--preview PREVIEW_DIR]

--preview also writes set0.png, set1.png, set2.png: how each set should look once loaded, in
true colour, composed the way the viewer composes (handy when changing a drawing).
"""

import argparse
import os
import sys

sys.dont_write_bytecode = True  # keep tools/ free of caches
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from demo_art import DOLL_H, DOLL_W, draw_all  # noqa: E402
from demo_files import (encode_indexed_cel, encode_old_cel, encode_old_palette,  # noqa: E402
                        encode_new_palette, encode_true_cel, write_chime)
from demo_preview import compose_png  # noqa: E402

PLAYFIELD = (480, 360)
DOLL_AT = (36, 14)  # where the doll stands in every set

# Body palette (palette 0, 24-bit, four groups): index -> colour per group.
BODY_COLOURS = {
    0: [(196, 226, 246), (253, 232, 212), (72, 74, 118), (206, 240, 214)],  # background
    1: [(74, 46, 46)] * 4,                                                  # outline
    2: [(252, 222, 198)] * 4,                                               # skin
    3: [(236, 192, 164)] * 4,                                               # skin shade
    4: [(248, 168, 168)] * 4,                                               # cheeks
    5: [(112, 66, 38), (214, 170, 92), (46, 40, 52), (160, 64, 30)],        # hair
    6: [(156, 100, 60), (240, 206, 128), (86, 78, 98), (204, 98, 52)],      # hair light
    7: [(255, 255, 255)] * 4,                                               # white
    8: [(66, 118, 182), (64, 140, 96), (120, 90, 160), (60, 120, 150)],     # iris
    9: [(214, 92, 104)] * 4,                                                # lips
    10: [(30, 28, 40)] * 4,                                                 # pupil
    11: [(232, 232, 240)] * 4,                                              # underwear shade
    12: [(150, 48, 62)] * 4,                                                # mouth inside
}


def clothes_groups():
    """Ten colourways of the clothes palette (old form, 16 colours, 12-bit)."""
    ways = [
        ((238, 102, 119), (119, 170, 238), (68, 102, 153)),
        ((255, 170, 51), (102, 187, 136), (136, 68, 51)),
        ((153, 119, 221), (238, 204, 102), (51, 85, 68)),
        ((68, 170, 204), (238, 119, 153), (102, 51, 85)),
        ((119, 204, 119), (221, 136, 204), (85, 85, 119)),
        ((238, 221, 85), (85, 136, 221), (153, 51, 51)),
        ((221, 85, 85), (255, 255, 255), (51, 51, 68)),
        ((170, 221, 238), (238, 170, 119), (119, 85, 51)),
        ((255, 136, 187), (136, 204, 221), (68, 68, 68)),
        ((136, 153, 170), (221, 187, 136), (34, 68, 102)),
    ]
    groups = []
    for a, b, c in ways:
        shade = lambda col: tuple(max(0, v - 51) for v in col)  # noqa: E731
        light = lambda col: tuple(min(255, v + 51) for v in col)  # noqa: E731
        groups.append([
            (0, 0, 0),          # 0: dropped (index 0 belongs to the body palette)
            (68, 34, 51),       # 1: outline
            a, shade(a), light(a),  # 2-4: fabric A
            b, shade(b),        # 5-6: fabric B
            (255, 255, 255),    # 7: white trim
            (136, 85, 51),      # 8: leather
            (85, 51, 34),       # 9: dark leather
            (238, 204, 119),    # 10: straw
            (204, 153, 85),     # 11: straw shade
            (221, 34, 68),      # 12: ribbon
            (255, 204, 51),     # 13: gold
            c, shade(c),        # 14-15: fabric C
        ])
    return groups


def body_groups():
    return [[BODY_COLOURS.get(i, [(0, 0, 0)] * 4)[g] for i in range(16)] for g in range(4)]


# Objects: number -> (fix value, [cel names]) in the order their lines appear.
# Cel lines earlier in the file lie on top, so faces come first and the back hair last.
CEL_LINES = [
    # (object, cel, palette, sets, extra)
    (0, "eyesopen.cel", 0, "0 1 2", ""),
    (0, "eyesshut.cel", 0, "0 1 2", ""),
    (0, "smile.cel", 0, "0 1 2", ""),
    (0, "mouth.cel", 0, "0 1 2", ""),
    (5, "bubble.cel", 0, "0", ""),
    (3, "strawhat.cel", 1, "0", ""),
    (12, "bobble.cel", 1, "2", ""),
    (1, "hairfront.cel", 0, "0 1 2", ""),
    (11, "scarf.cel", 1, "2", ""),
    (8, "shawl.cel", 1, "1", ";%t96"),
    (10, "coat.cel", 1, "2", ""),
    (6, "blouse.cel", 1, "1", ""),
    (7, "skirt.cel", 1, "1", ""),
    (2, "sundress.cel", 1, "0", ""),
    (4, "sandall.cel", 1, "0", ""),
    (4, "sandalr.cel", 1, "0", ""),
    (9, "shoes.cel", 1, "1 2", ""),
    (0, "body.cel", 0, "0 1 2", ""),
    (1, "hairback.cel", 0, "0 1 2", ""),
]
FIX = {"body.cel": 20}

# Where each object stands per set: "worn" (on the doll), a map position for its top left
# corner, or None (not in that set). Group of each set after the "$".
SETS = [
    (0, {0: "worn", 1: "worn", 2: "worn", 3: (300, 40), 4: "worn", 5: (372, 170)}),
    (1, {0: "worn", 1: "worn", 6: "worn", 7: (300, 214), 8: (292, 70), 9: "worn"}),
    (2, {0: "worn", 1: "worn", 9: "worn", 10: (286, 40), 11: (400, 218), 12: "worn"}),
]

SCRIPT = [
    "; Blinking: the two eye cels swap places, open for three seconds, shut for a blink.",
    ';@initialize() unmap("eyesshut.cel") unmap("smile.cel") timer(1,2500) timer(3,600)',
    ';@alarm(1) altmap("eyesopen.cel") altmap("eyesshut.cel") timer(2,160)',
    ';@alarm(2) altmap("eyesopen.cel") altmap("eyesshut.cel") timer(1,3000)',
    "; The soap bubble bobs up and down.",
    ";@alarm(3) move(#5,0,-5) timer(4,600)",
    ";@alarm(4) move(#5,0,5) timer(3,600)",
    "; Picking up the straw hat makes her smile; putting it down chimes.",
    ';@catch(#3) unmap("mouth.cel") map("smile.cel")',
    ';@drop(#3) unmap("smile.cel") map("mouth.cel") sound("chime.wav")',
]


def encode_cel(cel):
    if cel.form == "old":
        return encode_old_cel(cel.width, cel.height, cel.values)
    if cel.form == "true":
        return encode_true_cel(cel.width, cel.height, cel.x, cel.y, cel.bgra)
    return encode_indexed_cel(cel.depth, cel.width, cel.height, cel.x, cel.y, cel.values)


def object_origin(cels):
    """The map position of an object when worn is the doll's; a garment whose cels carry no
    offset stands where its cel's top left lies in the doll's drawing instead."""
    first = cels[0]
    return (first.doll_x - first.x, first.doll_y - first.y)


def positions(cels_by_object):
    """Position of every object in every set, as text entries of the set lines."""
    count = max(obj for obj, *_ in CEL_LINES) + 1
    lines = []
    for group, placement in SETS:
        entries = []
        for obj in range(count):
            where = placement.get(obj)
            if where is None:
                entries.append("*")
                continue
            if where == "worn":
                ox, oy = object_origin(cels_by_object[obj])
                where = (DOLL_AT[0] + ox, DOLL_AT[1] + oy)
            entries.append("%d,%d" % where)
        lines.append((group, entries))
    return lines


def set_lines(placed):
    out = []
    for group, entries in placed:
        line = "$%d" % group
        for entry in entries:
            if len(line) + len(entry) + 1 > 70:  # carry on in a continuation line
                out.append(line)
                line = ""
            line += " " + entry
        out.append(line)
    return out


def cnf_text(placed):
    lines = [
        "; Tavro demo set: a doll with three outfits.",
        "; Set 0: sundress and straw hat. Set 1: blouse, skirt and a see-through shawl.",
        "; Set 2: coat, scarf and bobble hat. The doll herself is fixed: tug her a few times.",
        "(%d,%d)" % PLAYFIELD,
        "%body.kcf",
        "%clothes.kcf",
    ]
    for obj, name, palette, sets, extra in CEL_LINES:
        fix = ".%d" % FIX[name] if name in FIX else ""
        pal = " *%d" % palette if palette else ""
        tail = " " + extra if extra else ""
        lines.append("#%d%s %s%s :%s%s" % (obj, fix, name, pal, sets, tail))
    lines += set_lines(placed)
    lines += SCRIPT
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    default_out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples", "demo")
    parser.add_argument("output", nargs="?", default=default_out)
    parser.add_argument("--preview", metavar="DIR")
    args = parser.parse_args()
    out = os.path.normpath(args.output)
    os.makedirs(out, exist_ok=True)

    cels = draw_all()  # name -> Cel
    cels_by_object = {}
    for obj, name, *_ in CEL_LINES:
        cels_by_object.setdefault(obj, []).append(cels[name])

    def write(name, data):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)

    write("body.kcf", encode_new_palette(24, 16, body_groups()))
    write("clothes.kcf", encode_old_palette(clothes_groups()))
    for name, cel in cels.items():
        write(name, encode_cel(cel))
    placed = positions(cels_by_object)
    write("demo.cnf", cnf_text(placed).encode("ascii"))
    write_chime(os.path.join(out, "chime.wav"))

    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        palettes = [body_groups(), clothes_groups()]
        for index, (group, entries) in enumerate(placed):
            png = compose_png(PLAYFIELD, CEL_LINES, cels, palettes, group, index, entries,
                              hidden={"eyesshut.cel", "smile.cel"})
            with open(os.path.join(args.preview, "set%d.png" % index), "wb") as f:
                f.write(png)
    print("demo set written to %s (%dx%d doll drawing, %d cels)" %
          (out, DOLL_W, DOLL_H, len(cels)))


if __name__ == "__main__":
    main()
