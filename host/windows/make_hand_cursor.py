#!/usr/bin/env python3
"""Writes hand.cur, the pointing hand of winhlp32.exe: a 32x32 monochrome cursor whose hot spot is
the tip of the index finger. Run it again after changing the drawing below."""
import struct
import sys

# X black, . white, blank transparent.
HAND = """
      XX
     X..X
     X..X
     X..X
     X..X
     X..XXX
     X..X..XXX
     X..X..X..XX
     X..X..X..X.X
 XXX X..X..X..X..X
X...XX...........X
X....X...........X
 X...............X
  X..............X
  X..............X
   X.............X
   X............X
    X...........X
    X..........X
     X.........X
     X.........X
     XXXXXXXXXXX
"""
HOT_SPOT = (6, 0)
SIZE = 32


def masks(rows):
    """The AND and XOR masks, rows bottom-up, 4 bytes a row, most significant bit leftmost."""
    and_mask, xor_mask = bytearray(), bytearray()
    for y in reversed(range(SIZE)):
        row = rows[y] if y < len(rows) else ""
        and_bits = xor_bits = 0
        for x in range(SIZE):
            pixel = row[x] if x < len(row) else " "
            bit = 1 << (SIZE - 1 - x)
            if pixel == " ":
                and_bits |= bit
            elif pixel == ".":
                xor_bits |= bit
        and_mask += struct.pack(">I", and_bits)
        xor_mask += struct.pack(">I", xor_bits)
    return and_mask, xor_mask


def cursor():
    rows = HAND.strip("\n").split("\n")
    and_mask, xor_mask = masks(rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + palette + bytes(xor_mask) + bytes(and_mask)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 22)
    return directory + entry + image


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "hand.cur"
    with open(out, "wb") as f:
        f.write(cursor())
