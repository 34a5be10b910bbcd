#!/usr/bin/env python3
"""Writes the bitmaps of the dialogs' bitmap buttons and trees (24-bit BI_RGB).

Run from this folder: python3 make_dialog_bitmaps.py
"""
import struct

MASK = (0, 255, 0)
INK = (0, 0, 128)
FILL = (255, 255, 224)


def write_bmp(path, rows):
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(b"BM" + struct.pack("<IHHI", 14 + len(header) + len(pixels), 0, 0, 14 + len(header)))
        out.write(header + pixels)


def picture(art, palette):
    return [[palette[c] for c in line] for line in art]


PALETTE = {".": MASK, "#": INK, "o": FILL}

# A block: a framed box with a base point.
BLOCK = [
    "..............",
    "..............",
    "..##########..",
    "..#oooooooo#..",
    "..#oooooooo#..",
    "..#oooooooo#..",
    "..#oooo#ooo#..",
    "..#ooo###oo#..",
    "..#oooo#ooo#..",
    "..#oooooooo#..",
    "..##########..",
    "..............",
    "..............",
    "..............",
]

# An attribute: a tag label with a hole.
ATTRIBUTE = [
    "..............",
    "..............",
    "....#######...",
    "...#ooooooo#..",
    "..#oo##ooooo#.",
    "..#oo##ooooo#.",
    "..#oooooooo#..",
    "...#ooooooo#..",
    "....#######...",
    "..............",
    "..............",
    "..............",
    "..............",
    "..............",
]

# The lookup button: three dots, 16 by 14.
BLANK = "." * 16
DOTS = "..##...##...##.."
LOOKUP = [BLANK] * 6 + [DOTS] * 2 + [BLANK] * 6

# The evaluate button: an equals sign, 16 by 14.
BAR = "...##########..."
EVALUATE = [BLANK] * 4 + [BAR] * 2 + [BLANK] * 2 + [BAR] * 2 + [BLANK] * 4

tree = [a + b for a, b in zip(BLOCK, ATTRIBUTE)]
write_bmp("attribute_tree.bmp", picture(tree, PALETTE))
write_bmp("attribute_lookup.bmp", picture(LOOKUP, PALETTE))
write_bmp("evaluate.bmp", picture(EVALUATE, PALETTE))
