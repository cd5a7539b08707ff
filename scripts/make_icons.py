#!/usr/bin/env python3
"""Draws the program icon (app/res/notavo.ico, 16 and 32 pixels) and the
strip of 16 x 16 menu images (app/res/menu_images.bmp, magenta background
for transparency) from simple shapes. Run it again after changing a picture;
the outputs are kept in the repository so the build needs no Python."""
import os
import struct

MAGENTA = (255, 0, 255)
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "app", "res")


class Canvas:
    def __init__(self, w, h, bg):
        self.w, self.h = w, h
        self.px = [[bg for _ in range(w)] for _ in range(h)]

    def dot(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c, fill=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                if edge:
                    self.dot(x, y, c)
                elif fill is not None:
                    self.dot(x, y, fill)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.dot(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def circle(self, cx, cy, r, c, fill=None):
        for y in range(self.h):
            for x in range(self.w):
                d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if abs(d - r) < 0.6:
                    self.dot(x, y, c)
                elif fill is not None and d < r:
                    self.dot(x, y, fill)


BLACK, WHITE = (0, 0, 0), (255, 255, 255)
GREY, DARK = (128, 128, 128), (64, 64, 64)
BLUE, NAVY = (40, 90, 200), (20, 40, 120)
YELLOW, ORANGE = (250, 210, 80), (200, 140, 30)
GREEN, RED, TEAL = (40, 150, 60), (200, 40, 40), (0, 128, 128)


def page(c, x0=3, y0=1, x1=12, y1=14):
    c.rect(x0, y0, x1, y1, DARK, WHITE)
    for y in range(y0 + 3, y1 - 1, 2):
        c.line(x0 + 2, y, x1 - 2, y, GREY)


def img_new(c):
    page(c)
    c.line(10, 1, 12, 3, DARK)
    c.rect(10, 1, 12, 3, DARK, WHITE)
    c.line(13, 10, 13, 14, ORANGE)
    c.line(11, 12, 15, 12, ORANGE)


def img_open(c):
    c.rect(1, 4, 13, 13, ORANGE, YELLOW)
    c.rect(1, 3, 6, 4, ORANGE, YELLOW)
    c.line(3, 7, 15, 7, ORANGE)
    c.line(3, 7, 1, 13, ORANGE)
    c.line(15, 7, 13, 13, ORANGE)


def img_save(c):
    c.rect(1, 1, 14, 14, NAVY, BLUE)
    c.rect(4, 1, 11, 6, DARK, WHITE)
    c.rect(4, 9, 11, 14, DARK, GREY)
    c.rect(9, 2, 10, 5, DARK, DARK)


def img_save_as(c):
    img_save(c)
    c.line(15, 6, 8, 13, ORANGE)
    c.line(15, 7, 9, 13, ORANGE)
    c.dot(8, 14, BLACK)


def img_exit(c):
    c.rect(2, 1, 9, 14, DARK, (170, 120, 70))
    c.dot(7, 8, YELLOW)
    c.line(10, 8, 15, 8, RED)
    c.line(13, 6, 15, 8, RED)
    c.line(13, 10, 15, 8, RED)


def img_undo(c):
    for x in range(4, 12):
        c.dot(x, 5, BLUE)
    c.line(12, 6, 13, 8, BLUE)
    c.line(13, 9, 11, 12, BLUE)
    c.line(10, 12, 6, 12, BLUE)
    c.line(2, 5, 5, 2, BLUE)
    c.line(2, 5, 5, 8, BLUE)


def img_redo(c):
    img_undo(c)
    c.px = [list(reversed(row)) for row in c.px]


def img_cut(c):
    c.line(5, 1, 9, 9, DARK)
    c.line(10, 1, 6, 9, DARK)
    c.circle(5, 12, 2.2, RED)
    c.circle(10, 12, 2.2, RED)


def img_copy(c):
    page(c, 1, 1, 9, 11)
    page(c, 6, 4, 14, 14)


def img_paste(c):
    c.rect(2, 2, 12, 14, ORANGE, (190, 150, 90))
    c.rect(5, 1, 9, 3, DARK, GREY)
    page(c, 7, 6, 15, 15)


def img_blank(c):
    pass


def img_select_all(c):
    for i in range(1, 15, 2):
        for x, y in ((i, 1), (i, 14), (1, i), (14, i)):
            c.dot(x, y, DARK)
    c.rect(4, 4, 11, 11, NAVY, BLUE)


def img_find(c):
    c.circle(6, 6, 4, DARK, (200, 230, 250))
    c.line(9, 9, 14, 14, DARK)
    c.line(10, 9, 14, 13, DARK)


IMAGES = [img_new, img_open, img_save, img_save_as, img_exit, img_undo, img_redo, img_cut,
          img_copy, img_paste, img_blank, img_select_all, img_blank, img_find]


def bmp24(canvas):
    row = (canvas.w * 3 + 3) & ~3
    data = b""
    for y in reversed(range(canvas.h)):
        line = b"".join(bytes((b, g, r)) for r, g, b in canvas.px[y])
        data += line + b"\0" * (row - canvas.w * 3)
    header = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 24, 0, len(data), 2835, 2835,
                         0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(header) + len(data), 0, 0, 54) + header + data


def icon_image(size):
    c = Canvas(size, size, None)
    s = size / 32
    def R(v):
        return int(round(v * s))
    # A sheet of paper with a teal band, text lines and a pencil.
    c.rect(R(5), R(2), R(26), R(29), DARK, WHITE)
    c.rect(R(5), R(2), R(26), R(7), TEAL, TEAL)
    for y in range(R(11), R(27), max(2, R(4))):
        c.line(R(8), y, R(22), y, GREY)
    c.line(R(29), R(12), R(17), R(27), ORANGE)
    c.line(R(30), R(13), R(18), R(28), ORANGE)
    c.dot(R(16), R(29), BLACK)
    xor = b""
    for y in reversed(range(size)):
        for x in range(size):
            p = c.px[y][x]
            xor += bytes((p[2], p[1], p[0], 255)) if p is not None else b"\0\0\0\0"
    mask_row = ((size + 31) // 32) * 4
    mask = b""
    for y in reversed(range(size)):
        bits = 0
        row = bytearray(mask_row)
        for x in range(size):
            if c.px[y][x] is None:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0,
                         0, 0)
    return header + xor + mask


def main():
    os.makedirs(OUT, exist_ok=True)
    strip = Canvas(16 * len(IMAGES), 16, MAGENTA)
    for i, draw in enumerate(IMAGES):
        tile = Canvas(16, 16, MAGENTA)
        draw(tile)
        for y in range(16):
            for x in range(16):
                strip.px[y][16 * i + x] = tile.px[y][x]
    with open(os.path.join(OUT, "menu_images.bmp"), "wb") as f:
        f.write(bmp24(strip))
    images = [icon_image(32), icon_image(16)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, img in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(os.path.join(OUT, "notavo.ico"), "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()
