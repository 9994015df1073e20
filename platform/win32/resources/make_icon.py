#!/usr/bin/env python3
"""Draws the program's icon (a page with a circular refresh arrow) and writes it as a
32x32, 32-bit .ico file: default_icon.ico beside this script. Run it again after a change
and commit both files."""
import math
import pathlib
import struct

SIZE = 32
PAGE = (255, 255, 255, 255)
EDGE = (90, 90, 90, 255)
ARROW = (30, 120, 215, 255)
CLEAR = (0, 0, 0, 0)


def pixel(x, y):
    # The arrow: a ring around the page's centre with a gap at the top right, and a head.
    cx, cy = 16.0, 17.0
    distance = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
    angle = math.degrees(math.atan2(cy - (y + 0.5), x + 0.5 - cx)) % 360
    if 6.0 <= distance <= 9.0 and not (20 <= angle <= 80):
        return ARROW
    head = [(22, 5), (27, 10), (21, 12)]
    if inside_triangle(x + 0.5, y + 0.5, head):
        return ARROW
    # The page: a white sheet with a grey edge.
    if 4 <= x <= 27 and 2 <= y <= 29:
        if x in (4, 27) or y in (2, 29):
            return EDGE
        return PAGE
    return CLEAR


def inside_triangle(px, py, corners):
    (ax, ay), (bx, by), (cx, cy) = corners
    def side(x1, y1, x2, y2):
        return (px - x2) * (y1 - y2) - (x1 - x2) * (py - y2)
    d1, d2, d3 = side(ax, ay, bx, by), side(bx, by, cx, cy), side(cx, cy, ax, ay)
    negative = d1 < 0 or d2 < 0 or d3 < 0
    positive = d1 > 0 or d2 > 0 or d3 > 0
    return not (negative and positive)


def icon_bytes():
    # The image: BITMAPINFOHEADER with double height (colour + mask), BGRA rows bottom up,
    # then the 1-bit AND mask (rows padded to 4 bytes; all zero since alpha carries it).
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for y in reversed(range(SIZE)):
        for x in range(SIZE):
            r, g, b, a = pixel(x, y)
            colour += bytes((b, g, r, a))
    mask = bytes(SIZE * 4)  # 32 pixels = 4 bytes per row, already a multiple of 4
    image = header + bytes(colour) + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    target = pathlib.Path(__file__).with_name("default_icon.ico")
    target.write_bytes(icon_bytes())
    print(f"wrote {target} ({target.stat().st_size} bytes)")
