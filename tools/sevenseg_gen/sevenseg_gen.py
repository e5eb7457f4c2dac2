#!/usr/bin/env python3
"""Draws the six segment pictures of the seven-segment display (TSevenSeg).

Run from anywhere:  python3 tools/sevenseg_gen/sevenseg_gen.py
It writes src/resources/sevenseg/SEG*.bmp (nothing else is needed: plain Python 3)
and checks that the pictures fit the glyph layout the control pastes them into.

Every picture is a pure black shape on pure white, without antialiasing (a pixel is
black when its centre lies inside the shape). The control recolours a shape by a
flood fill from fixed seed points, so each shape is connected and covers its seeds.
All shapes lean to the right by the glyph's slant: the paste positions of the
segments shift 37 pixels to the left over 197 rows.
"""

import math
import os
import struct
import sys

SLANT = 37 / 197          # x shift to the left per row downwards
HALF = 15                 # half the stroke width of a segment

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "src", "resources", "sevenseg")


# ---- Shapes ------------------------------------------------------------------------------

def inside_polygon(px, py, points):
    """Even-odd rule on the point (px, py)."""
    inside = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def slanted(points, pivot_row):
    """Upright outline -> leaning outline: rows below the pivot move to the left."""
    return [(u - SLANT * (y - pivot_row), y) for u, y in points]


def vertical_bar(centre, top, bottom, pivot_row):
    """A vertical segment with pointed ends, centred on column `centre` at `pivot_row`."""
    return slanted([(centre, top), (centre + HALF, top + HALF), (centre + HALF, bottom - HALF),
                    (centre, bottom), (centre - HALF, bottom - HALF), (centre - HALF, top + HALF)],
                   pivot_row)


def horizontal_bar(left, right, row):
    """A horizontal segment with pointed ends on `row`, tips at `left` and `right`."""
    return slanted([(left, row), (left + HALF, row - HALF), (right - HALF, row - HALF),
                    (right, row), (right - HALF, row + HALF), (left + HALF, row + HALF)], row)


def raster(width, height, is_black):
    """Rows of booleans (True = black), sampled at the pixel centres."""
    return [[is_black(x + 0.5, y + 0.5) for x in range(width)] for y in range(height)]


def in_any(polygons):
    return lambda x, y: any(inside_polygon(x, y, p) for p in polygons)


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


# The horizontal segments' tips, chosen so that every joint leaves a diagonal gap of
# about 8 pixels to the neighbouring vertical segments at the fixed paste positions.
H_LEFT, H_RIGHT = 1.65, 194.6


def seg_vert():
    return raster(68, 190, in_any([vertical_bar(34, 1, 189, 95)]))


def seg_horz():
    return raster(200, 38, in_any([horizontal_bar(H_LEFT, H_RIGHT, 19)]))


def seg_dot():
    return raster(38, 38, disc(19, 19, 16))


def seg_plus():
    # The cross bar lies where the middle segment lies in the glyph (row 216 = 120 + 96).
    return raster(200, 190, in_any([horizontal_bar(H_LEFT, H_RIGHT, 96),
                                    vertical_bar(98, 12, 180, 96)]))


def seg_colon():
    # The two dots sit on the control's seed points (18, h - 18) and (w - 18, 18).
    upper, lower = disc(50, 18, 16), disc(18, 172, 16)
    return raster(68, 190, lambda x, y: upper(x, y) or lower(x, y))


def seg_deg():
    # A leaning elliptic ring; the control's seed (25, h / 2) lies in its left band.
    cx, cy = 80, 69

    def ring(x, y):
        u = x + SLANT * (y - cy)
        outer = ((u - cx) / 58) ** 2 + ((y - cy) / 58) ** 2 <= 1
        inner = ((u - cx) / 32) ** 2 + ((y - cy) / 32) ** 2 <= 1
        return outer and not inner
    return raster(160, 138, ring)


# ---- BMP files ---------------------------------------------------------------------------

def bmp(width, height, bits, pixel_rows, palette=b""):
    """A bottom-up BMP with rows padded to four bytes."""
    stride = (width * bits + 31) // 32 * 4
    body = b"".join(row.ljust(stride, b"\0") for row in reversed(pixel_rows))
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(body), 2835, 2835,
                       len(palette) // 4, 0)
    return header + info + palette + body


def mono_bmp(rows):
    """1 bit per pixel: palette entry 0 black, 1 white."""
    packed = []
    for row in rows:
        data = bytearray((len(row) + 7) // 8)
        for x, black in enumerate(row):
            if not black:
                data[x // 8] |= 0x80 >> (x % 8)
        packed.append(bytes(data))
    return bmp(len(rows[0]), len(rows), 1, packed, palette=b"\0\0\0\0\xff\xff\xff\0")


def rgb_bmp(rows):
    """24 bits per pixel, black and white only."""
    packed = [b"".join(b"\0\0\0" if black else b"\xff\xff\xff" for black in row) for row in rows]
    return bmp(len(rows[0]), len(rows), 24, packed)


# ---- Checks against the glyph layout ------------------------------------------------------

# Paste positions (top-left) of the segments 1..7 and the point in the 312 x 432 glyph.
LAYOUT = {
    1: ("h", 94, 0), 2: ("v", 37, 23), 3: ("v", 244, 23), 4: ("h", 57, 197),
    5: ("v", 0, 220), 6: ("v", 207, 220), 7: ("h", 20, 394), 8: ("d", 269, 394),
}


def black_pixels(rows, dx, dy):
    return {(x + dx, y + dy) for y, row in enumerate(rows) for x, black in enumerate(row) if black}


def check(pictures):
    w, h = 312, 432
    shapes = {"v": pictures["SEGVERT"], "h": pictures["SEGHORZ"], "d": pictures["SEGDOT"]}
    placed = {k: black_pixels(shapes[kind], x, y) for k, (kind, x, y) in LAYOUT.items()}
    for k, (kind, x, y) in LAYOUT.items():
        rows = shapes[kind]
        assert x + len(rows[0]) <= w and y + len(rows) <= h, f"segment {k} leaves the glyph"
    # Neighbouring segments keep a gap: no two share or touch a pixel.
    for a in placed:
        grown = {(x + dx, y + dy) for x, y in placed[a] for dx in (-1, 0, 1) for dy in (-1, 0, 1)}
        for b in placed:
            if b > a:
                assert not grown & placed[b], f"segments {a} and {b} touch"
    seeds = {"SEGVERT": [(34, 95)], "SEGHORZ": [(100, 19)], "SEGDOT": [(19, 19)],
             "SEGPLUS": [(100, 95)], "SEGCOLON": [(18, 172), (50, 18)], "SEGDEG": [(25, 69)]}
    for name, points in seeds.items():
        rows = pictures[name]
        for x, y in points:
            assert rows[y][x], f"{name}: seed {x},{y} is not on the shape"
        region = flood(rows, points[0])
        every = black_pixels(rows, 0, 0)
        if name == "SEGCOLON":
            region |= flood(rows, points[1])
        assert region == every, f"{name}: the seeds do not reach every black pixel"
        assert rows[0][0] is False and rows[-1][-1] is False, f"{name}: corners must be white"
    # The ring's centre is enclosed: white, but not reachable from the surround.
    deg = pictures["SEGDEG"]
    assert not deg[69][80] and (80, 69) not in flood([[not b for b in r] for r in deg], (0, 0))


def flood(rows, seed):
    """The 4-connected region of the seed's value."""
    value = rows[seed[1]][seed[0]]
    todo, seen = [seed], {seed}
    while todo:
        x, y = todo.pop()
        for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
            if 0 <= ny < len(rows) and 0 <= nx < len(rows[0]) and (nx, ny) not in seen \
                    and rows[ny][nx] == value:
                seen.add((nx, ny))
                todo.append((nx, ny))
    return seen


def main():
    pictures = {"SEGVERT": seg_vert(), "SEGHORZ": seg_horz(), "SEGDOT": seg_dot(),
                "SEGPLUS": seg_plus(), "SEGCOLON": seg_colon(), "SEGDEG": seg_deg()}
    check(pictures)
    os.makedirs(OUT, exist_ok=True)
    one_bit = {"SEGVERT", "SEGHORZ", "SEGDOT"}
    for name, rows in pictures.items():
        data = mono_bmp(rows) if name in one_bit else rgb_bmp(rows)
        with open(os.path.join(OUT, name + ".bmp"), "wb") as f:
            f.write(data)
        print(f"{name}.bmp  {len(rows[0])} x {len(rows)}  {1 if name in one_bit else 24} bit")
    return 0


if __name__ == "__main__":
    sys.exit(main())
