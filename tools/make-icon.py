#!/usr/bin/env python3
"""Draws the uninstaller's icon and writes it as resources/uninstall.ico.

    tools/make-icon.py [OUTPUT.ico]

One 32 x 32 image with 16 colours (4 bits per pixel, the standard VGA
palette): a sheet of paper with a folded corner and a few lines of text, and a
red cross over its lower right part. Only the standard library is used, so
the icon can be redrawn anywhere; the .ico is kept in the repository as a
source file and this script is only needed to change it.
"""
import os
import struct
import sys

SIZE = 32

# The standard 16-colour palette, as (blue, green, red, 0) quads.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]  # (red, green, blue)
BLACK, DARK_RED, GREY, SILVER, NAVY, RED, WHITE = 0, 1, 8, 7, 4, 9, 15
TRANSPARENT = None


def draw():
    """Returns rows top to bottom; each pixel a palette index or TRANSPARENT."""
    px = [[TRANSPARENT] * SIZE for _ in range(SIZE)]

    # The sheet: x 5..24, y 1..30, with its top right corner folded over.
    left, right, top, bottom, fold = 5, 24, 1, 30, 7
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            if x - (right - fold) > y - top:       # cut-off corner
                continue
            edge = x in (left, right) or y in (top, bottom) or x - (right - fold) == y - top
            px[y][x] = BLACK if edge else WHITE
    # The folded flap: a grey triangle under the diagonal.
    for y in range(top, top + fold + 1):
        for x in range(right - fold, right + 1):
            d = x - (right - fold)
            if d <= y - top:
                edge = x == right - fold or y == top + fold or d == y - top
                px[y][x] = BLACK if edge else SILVER
    # Lines of text.
    for y in range(6, 27, 3):
        end = right - 3 if y > top + fold else right - fold - 2
        for x in range(left + 3, end):
            px[y][x] = NAVY if (x + y) % 7 else GREY

    # The red cross, two pixels thick with a dark rim, centred at (21, 21).
    cx, cy, arm = 21, 21, 8
    for t in range(-arm, arm + 1):
        for dx, dy in ((t, t), (t, -t)):
            for ox, oy in ((-1, 0), (1, 0), (0, -1), (0, 1), (-1, -1), (1, 1), (1, -1), (-1, 1)):
                x, y = cx + dx + ox, cy + dy + oy
                if 0 <= x < SIZE and 0 <= y < SIZE and px[y][x] not in (RED,):
                    px[y][x] = DARK_RED
    for t in range(-arm, arm + 1):
        for dx, dy in ((t, t), (t, -t)):
            for ox, oy in ((0, 0), (1, 0), (0, 1)):
                x, y = cx + dx + ox, cy + dy + oy
                if 0 <= x < SIZE and 0 <= y < SIZE:
                    px[y][x] = RED
    return px


def ico_bytes(px):
    # Both bitmaps are stored bottom row first, rows padded to 4 bytes.
    xor = bytearray()
    mask = bytearray()
    for row in reversed(px):
        for x in range(0, SIZE, 2):
            hi = row[x] if row[x] is not None else 0
            lo = row[x + 1] if row[x + 1] is not None else 0
            xor.append(hi << 4 | lo)
        bits = 0
        for x in range(SIZE):
            bits = bits << 1 | (1 if row[x] is None else 0)
        mask += bits.to_bytes(SIZE // 8, "big")
    palette = b"".join(struct.pack("<4B", b, g, r, 0) for (r, g, b) in PALETTE)
    # The image's height counts the colour bitmap and the mask together.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 16, 0)
    image = header + palette + bytes(xor) + bytes(mask)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return icondir + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "uninstall.ico")
    with open(out, "wb") as f:
        f.write(ico_bytes(draw()))


if __name__ == "__main__":
    main()
