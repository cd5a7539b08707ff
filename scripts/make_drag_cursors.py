#!/usr/bin/env python3
"""Draws the two drag cursors of notavo.exe (app/cursors/*.cur): an arrow
with a dotted text box below it (moving text) and the same with a plus sign
(copying text). 32 x 32 monochrome cursors, hot spot at the arrow's tip.
Run from anywhere; rewrites both files."""
import os
import struct

ARROW = [
    "B...........",
    "BB..........",
    "BWB.........",
    "BWWB........",
    "BWWWB.......",
    "BWWWWB......",
    "BWWWWWB.....",
    "BWWWWWWB....",
    "BWWWWWWWB...",
    "BWWWWWWWWB..",
    "BWWWWWBBBBB.",
    "BWWBWWB.....",
    "BWB.BWWB....",
    "BB..BWWB....",
    "B....BWWB...",
    ".....BWWB...",
    "......BB....",
]


def canvas():
    return [["." for _ in range(32)] for _ in range(32)]


def put(c, x, y, pattern):
    for dy, line in enumerate(pattern):
        for dx, p in enumerate(line):
            if p != ".":
                c[y + dy][x + dx] = p


def text_box(c, x, y, w, h):
    """A dotted frame, white inside, for the dragged text."""
    for i in range(w):
        for j in range(h):
            edge = i in (0, w - 1) or j in (0, h - 1)
            if edge:
                c[y + j][x + i] = "B" if (i + j) % 2 == 0 else "W"
            else:
                c[y + j][x + i] = "W"


def plus_box(c, x, y):
    box = [
        "BBBBBBBBB",
        "BWWWWWWWB",
        "BWWWBWWWB",
        "BWWWBWWWB",
        "BWBBBBBWB",
        "BWWWBWWWB",
        "BWWWBWWWB",
        "BWWWWWWWB",
        "BBBBBBBBB",
    ]
    put(c, x, y, box)


def cur_bytes(c, hotspot):
    # XOR bits: 1 white (or inverted); AND bits: 1 transparent (or inverted).
    xor_rows, and_rows = [], []
    for row in reversed(c):  # bottom-up
        xor = and_ = 0
        for p in row:
            xor = (xor << 1) | (1 if p in "WI" else 0)
            and_ = (and_ << 1) | (1 if p in ".I" else 0)
        xor_rows.append(struct.pack(">I", xor))
        and_rows.append(struct.pack(">I", and_))
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, hotspot[0], hotspot[1], len(image), 22)
    return directory + entry + image


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app", "cursors")
    move = canvas()
    put(move, 0, 0, ARROW)
    text_box(move, 7, 18, 13, 9)
    copy = canvas()
    put(copy, 0, 0, ARROW)
    text_box(copy, 7, 18, 13, 9)
    plus_box(copy, 16, 22)
    for name, c in (("drag_move.cur", move), ("drag_copy.cur", copy)):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(cur_bytes(c, (0, 0)))


if __name__ == "__main__":
    main()
