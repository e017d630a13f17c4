#!/usr/bin/env python3
"""Draws the viewer's sample picture: dark outlines on a light ground, with colour.

Writes a 24-bit bitmap (14-byte file header, 40-byte info header) of 301 x 220
pixels: a width whose rows need padding, and small enough that the picture and
its white copy fit the 650 x 500 window side by side.

    python3 make_sample.py [OUT]     (default: B.bmp beside this script)
"""

import math
import os
import struct
import sys

WIDTH, HEIGHT = 301, 220
GROUND = (246, 238, 214)
INK = (3, 2, 4)             # near black: intensity 2, marked by "2"
SHADOW = (70, 62, 60)       # darkish, but well above the threshold


def make_picture():
    # rows[y][x], y counted from the bottom as the file stores them
    rows = [[GROUND] * WIDTH for _ in range(HEIGHT)]

    def put(x, y, colour):
        if 0 <= x < WIDTH and 0 <= y < HEIGHT:
            rows[y][x] = colour

    def disc(cx, cy, r, fill, outline, thickness=2.5):
        for y in range(HEIGHT):
            for x in range(WIDTH):
                d = math.hypot(x - cx, y - cy)
                if d <= r - thickness:
                    put(x, y, fill(x, y))
                elif d <= r:
                    put(x, y, outline)

    def box(x0, y0, x1, y1, fill, outline, thickness=2):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = min(x - x0, x1 - x, y - y0, y1 - y) < thickness
                put(x, y, outline if edge else fill(x, y))

    def triangle(a, b, c, fill, outline, thickness=2.0):
        def side(p, q, x, y):
            return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])

        def dist(p, q, x, y):
            return abs(side(p, q, x, y)) / math.hypot(q[0] - p[0], q[1] - p[1])

        for y in range(HEIGHT):
            for x in range(WIDTH):
                s = (side(a, b, x, y), side(b, c, x, y), side(c, a, x, y))
                if all(v >= 0 for v in s) or all(v <= 0 for v in s):
                    near = min(dist(a, b, x, y), dist(b, c, x, y), dist(c, a, x, y))
                    put(x, y, outline if near < thickness else fill(x, y))

    # A warm gradient sun, a green house with a shaded door, a blue sail.
    disc(70, 150, 48, lambda x, y: (255, 200 - (150 - y) // 2, 60 + (x - 22)), INK)
    box(140, 20, 230, 100, lambda x, y: (120 + (x - 140) // 2, 200, 120), INK)
    box(170, 20, 196, 70, lambda x, y: SHADOW, INK)
    triangle((130, 100), (240, 100), (185, 160), lambda x, y: (200, 70, 60), INK)
    triangle((250, 30), (295, 30), (272, 205), lambda x, y: (90, 150, 230 - (y - 30) // 3), INK)
    # A ground line and a dotted horizon: thin features a mask must keep.
    for x in range(WIDTH):
        put(x, 12, INK)
        if x % 6 < 3:
            put(x, 110, INK)
    # Greys around the threshold: (5, 5, 5) counts as dark, (6, 6, 6) does not.
    for x in range(10, 30):
        for y in range(30, 40):
            put(x, y, (5, 5, 5))
        for y in range(40, 50):
            put(x, y, (6, 6, 6))
    return rows


def encode_bmp(rows):
    stride = (WIDTH * 3 + 3) // 4 * 4
    pixels = bytearray()
    for row in rows:
        for r, g, b in row:
            pixels += bytes((b, g, r))
        pixels += bytes(stride - WIDTH * 3)
    info = struct.pack('<IiiHHIIiiII', 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return header + info + pixels


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), 'B.bmp')
    with open(out, 'wb') as f:
        f.write(encode_bmp(make_picture()))


if __name__ == '__main__':
    main()
