#!/usr/bin/env python3
"""Writes Seekword.ico (icon 102) from the pixel map below: a magnifying glass over a page of text."""
import os
import struct
import sys

SIZE = 32

# One character per pixel; '.' is transparent. The palette is the standard 16-colour one.
PALETTE = [
    ("K", 0x00, 0x00, 0x00),  # black
    ("M", 0x80, 0x00, 0x00),  # maroon
    ("g", 0x00, 0x80, 0x00),  # green
    ("O", 0x80, 0x80, 0x00),  # olive
    ("N", 0x00, 0x00, 0x80),  # navy
    ("P", 0x80, 0x00, 0x80),  # purple
    ("T", 0x00, 0x80, 0x80),  # teal
    ("S", 0xC0, 0xC0, 0xC0),  # silver
    ("G", 0x80, 0x80, 0x80),  # grey
    ("R", 0xFF, 0x00, 0x00),  # red
    ("L", 0x00, 0xFF, 0x00),  # lime
    ("Y", 0xFF, 0xFF, 0x00),  # yellow
    ("B", 0x00, 0x00, 0xFF),  # blue
    ("F", 0xFF, 0x00, 0xFF),  # fuchsia
    ("C", 0x00, 0xFF, 0xFF),  # aqua
    ("W", 0xFF, 0xFF, 0xFF),  # white
]
TRANSPARENT = "."

PIXELS = """
................................
..KKKKKKKKKKKKKKK...............
..KWWWWWWWWWWWWWKK..............
..KWWWWWWWWWWWWWKSK.............
..KWWGGGGGGGGGWWKSSK............
..KWWWWWWWWWWWWWKSSSK...........
..KWWWWWWWWWWWWWKKKKKK..........
..KWWGGGGGGGGGGGGGWWWK..........
..KWWWWWWWWWWWWWWWWWWK..........
..KWWWWWWWWWWWWWWWWWWK..........
..KWWGGGGGGGGGGGWKKKKK..........
..KWWWWWWWWWWWWKKGGGGGKK........
..KWWWWWWWWWWWKGGWWCCCGGK.......
..KWWGGGGGGGGKGGWBBBBBBGGK......
..KWWWWWWWWWWKGWBBBBBBBBGK......
..KWWWWWWWWWKGWCCCCCCCCCCGK.....
..KWWGGGGGGGKGWCCCCCCCCCCGK.....
..KWWWWWWWWWKGCBBBBBBBBBCGK.....
..KWWWWWWWWWKGCBBBBBBBBBCGK.....
..KWWGGGGGGGKGCCCCCCCCCCCGK.....
..KWWWWWWWWWWKGCCCCCCCCCGK......
..KWWWWWWWWWWKGGBBBBBBBGGK......
..KWWGGGGGGGGGKGGCCCCCGGOOK.....
..KWWWWWWWWWWWWKKGGGGGKKOOOK....
..KWWWWWWWWWWWWWWKKKKK..KOOOK...
..KWWGGGGGGGWWWWWWWWWK...KOOOK..
..KWWWWWWWWWWWWWWWWWWK....KOOOK.
..KWWWWWWWWWWWWWWWWWWK.....KOOOK
..KWWWWWWWWWWWWWWWWWWK......KOOK
..KKKKKKKKKKKKKKKKKKKK.......KK.
................................
................................
"""


def read_pixels():
    rows = [row for row in PIXELS.split("\n") if row]
    if len(rows) != SIZE or any(len(row) != SIZE for row in rows):
        sys.exit("make_icon: the pixel map must be %d x %d" % (SIZE, SIZE))
    index = {name: i for i, (name, _, _, _) in enumerate(PALETTE)}
    for row in rows:
        for ch in row:
            if ch != TRANSPARENT and ch not in index:
                sys.exit("make_icon: unknown pixel character %r" % ch)
    return rows, index


def icon_bytes():
    rows, index = read_pixels()
    # Bitmap rows run bottom-up; 4-bit rows of 32 pixels are 16 bytes, mask rows 4 bytes (both DWORD-aligned).
    colour_rows = b""
    mask_rows = b""
    for row in reversed(rows):
        nibbles = [index.get(ch, 0) for ch in row]
        colour_rows += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2))
        bits = 0
        for ch in row:
            bits = (bits << 1) | (1 if ch == TRANSPARENT else 0)
        mask_rows += struct.pack(">I", bits)

    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for _, r, g, b in PALETTE)
    # The header's height covers the colour image and the mask together.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0,
                         len(colour_rows) + len(mask_rows), 0, 0, len(PALETTE), 0)
    image = header + palette + colour_rows + mask_rows

    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, len(PALETTE), 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "Seekword.ico")
    with open(out, "wb") as f:
        f.write(icon_bytes())


if __name__ == "__main__":
    main()
