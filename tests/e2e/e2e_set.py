"""The small set the end-to-end test plays with, written into a directory.

A playfield of odd width (so a copied 4-bit bitmap row ends in half a byte) with one palette of
16 colours in two colour groups and four objects:

- #0, a free block with a striped face and cut corners, on top of everything;
- #1, an anchor with a hole, fixed with a fix value of 200: a fresh fixed object has no play at
  all, and one tug wears 200 only down to 193, so it stays fixed;
- #2, a striped floor the block can be dragged over;
- #3, a blinker of two cels in set 2 only; choosing set 2 arms a 50 ms alarm that swaps them and
  arms itself again.

Sets 0 and 2 use colour group 0, set 1 group 1 with the objects elsewhere.

Every name is Japanese, written in Shift_JIS as sets made on Japanese systems are: the folder,
the configuration, the palette and the cels, several of them with 0x5C (a backslash) as the
second byte of a character. Paths are therefore bytes.
"""

import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))

from demo_files import encode_indexed_cel, encode_new_palette  # noqa: E402

PLAYFIELD = (389, 271)
FOLDER_NAME = "人形セット".encode("shift_jis")
CNF_NAME = "着せ替え.cnf".encode("shift_jis")
PALETTE_NAME = "色表.kcf"  # 表: 0x95 0x5C
BLINK_A = "ソ丸.cel"  # ソ: 0x83 0x5C
BLINK_B = "ソ角.cel"

GROUPS = [
    [(200, 216, 232), (40, 32, 48), (224, 96, 80), (250, 220, 90), (70, 130, 90), (150, 110, 70),
     (120, 84, 52), (250, 250, 250), (20, 20, 160), (10, 10, 10), (90, 90, 90), (130, 30, 130),
     (30, 130, 130), (255, 128, 0), (0, 255, 0), (128, 0, 255)],
    [(236, 224, 200), (20, 20, 60), (60, 120, 220), (240, 240, 240), (180, 60, 60), (90, 150, 90),
     (60, 110, 60), (0, 0, 0), (255, 255, 0), (11, 11, 11), (91, 91, 91), (131, 31, 131),
     (31, 131, 131), (255, 129, 0), (0, 254, 0), (129, 0, 255)],
]

# Where each object's top left corner stands, per set; None: not in that set.
POSITIONS = {
    0: [(30, 40), (250, 60), (0, 200), None],
    1: [(200, 150), (40, 150), (0, 10), None],
    2: [(30, 40), (250, 60), (0, 200), (170, 100)],
}
SET_GROUP = {0: 0, 1: 1, 2: 0}

BLOCK_SIZE = (48, 40)
ANCHOR_SIZE = (60, 50)


def _cel(width, height, paint):
    return width, height, [paint(x, y) for y in range(height) for x in range(width)]


def block():
    w, h = BLOCK_SIZE

    def paint(x, y):
        if min(x, w - 1 - x) + min(y, h - 1 - y) < 3:
            return 0  # cut corners are transparent
        if x in (0, w - 1) or y in (0, h - 1):
            return 1
        return 3 if (x + y) % 9 < 3 else 2
    return _cel(w, h, paint)


def anchor():
    w, h = ANCHOR_SIZE

    def paint(x, y):
        if 22 <= x < 38 and 18 <= y < 32:
            return 0  # the hole shows what lies beneath
        if x in (0, w - 1) or y in (0, h - 1):
            return 1
        return 4 if y < h // 2 else 5
    return _cel(w, h, paint)


def floor():
    return _cel(PLAYFIELD[0], 71, lambda x, y: 1 if y == 0 else 5 + (x // 13 + y // 7) % 2)


def blinker(colour, round_shape):
    def paint(x, y):
        if round_shape and (x - 11.5) ** 2 + (y - 11.5) ** 2 > 12 ** 2:
            return 0
        return colour
    return _cel(24, 24, paint)


# Cel lines in file order: the first lies on top.
CEL_LINES = [
    ("#0", "積木.cel", block, ":0 1 2"),
    ("#1.200", "十字.cel", anchor, ":0 1 2"),  # 十: 0x8F 0x5C
    ("#3", BLINK_A, lambda: blinker(7, True), ":2"),
    ("#3", BLINK_B, lambda: blinker(8, False), ":2"),
    ("#2", "床能.cel", floor, ":0 1 2"),  # 能: 0x94 0x5C
]


def cnf_text(block_in_set0=None, hidden_blinker=BLINK_B):
    """The configuration; `block_in_set0` moves the block in set 0, `hidden_blinker` names the
    blinker cel hidden at load (the other one shows first)."""
    lines = [
        "; End-to-end test set: a free block, a fixed anchor, a floor and a blinker.",
        "(%d,%d)" % PLAYFIELD,
        "%" + PALETTE_NAME,
    ]
    lines += ["%s %s %s" % (obj, name, sets) for obj, name, _, sets in CEL_LINES]
    for s in range(3):
        places = list(POSITIONS[s])
        if s == 0 and block_in_set0 is not None:
            places[0] = block_in_set0
        lines.append("$%d " % SET_GROUP[s] + " ".join("*" if p is None else "%d,%d" % p
                                                      for p in places))
    lines += [
        ';@initialize() unmap("%s")' % hidden_blinker,
        ";@set(2) timer(1,50)",
        ';@alarm(1) altmap("%s") altmap("%s") timer(1,50)' % (BLINK_A, BLINK_B),
    ]
    return "\n".join(lines) + "\n"


def write_set(directory, cnf_name=CNF_NAME, **variant):
    """Writes the palette, the cels and the configuration (see cnf_text for `variant`) into
    `directory` (bytes); returns the configuration's path, bytes too."""
    os.makedirs(directory, exist_ok=True)

    def write(name, data):
        with open(os.path.join(directory, name.encode("shift_jis")), "wb") as f:
            f.write(data)
    write(PALETTE_NAME, encode_new_palette(24, 16, GROUPS))
    for _, name, draw, _ in CEL_LINES:
        width, height, values = draw()
        write(name, encode_indexed_cel(4, width, height, 0, 0, values))
    with open(os.path.join(directory, cnf_name), "wb") as f:
        f.write(cnf_text(**variant).encode("shift_jis"))
    return os.path.join(directory, cnf_name)
