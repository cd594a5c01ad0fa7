#!/usr/bin/env python3
# Writes MarginCursor.cur, the text view's margin cursor: an arrow pointing up and to the right.
import os
import struct

SIZE = 32
HOT_SPOT = (10, 0)

# B black, W white, anything else transparent. Row 0 is the top; the tip is the hot spot.
ARROW = [
    "..........B",
    ".........BB",
    "........BWB",
    ".......BWWB",
    "......BWWWB",
    ".....BWWWWB",
    "....BWWWWWB",
    "...BWWWWWWB",
    "..BWWWWWWWB",
    ".BWWWWWWWWB",
    "BWWWWWWWWWB",
    "BBBBWWWWWWB",
    "...BWWBWWWB",
    "...BWWBBWWB",
    "..BWWB..BWB",
    "..BWWB...BB",
    ".BWWB.....B",
    ".BWWB......",
    "..BB.......",
]


def pixel(x, y):
    if y < len(ARROW) and x < len(ARROW[y]):
        return ARROW[y][x]
    return "."


def mask_rows(bit_of):
    # 1 bit per pixel, rows padded to 32 bits, stored bottom-up.
    rows = []
    for y in reversed(range(SIZE)):
        value = 0
        for x in range(SIZE):
            if bit_of(pixel(x, y)):
                value |= 1 << (SIZE - 1 - x)
        rows.append(struct.pack(">I", value))
    return b"".join(rows)


def main():
    assert pixel(*HOT_SPOT) == "B", "the hot spot must be the arrow's tip"
    xor_mask = mask_rows(lambda p: p == "W")
    and_mask = mask_rows(lambda p: p not in "BW")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor_mask) + len(and_mask), 0, 0, 2, 0)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + xor_mask + and_mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 6 + 16)
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "MarginCursor.cur")
    with open(out, "wb") as f:
        f.write(directory + entry + image)


if __name__ == "__main__":
    main()
