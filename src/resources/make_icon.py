#!/usr/bin/env python3
"""Writes Seekword.ico (icon 102): a magnifying glass over a page of text.

The 32-pixel image is the hand-drawn pixel map below. The 48- and 64-pixel images, for screens at 150%
and 200%, are drawn from the same picture described in shapes on the 32-unit grid: each pixel takes
the colour that covers most of it, so they stay crisp and use the same 16 colours. Nothing random or
dated goes in, so the same script always writes the same bytes.
"""
import math
import os
import struct
import sys

SIZE = 32
LARGER_SIZES = (48, 64)
# Samples per pixel along each axis when drawing the shapes.
SAMPLES = 4

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


# The same picture in shapes, in 32-unit coordinates (pixel (x, y) of the map covers x..x+1, y..y+1),
# drawn in order, each over the ones before.
LENS_CENTRE = (19.5, 17.5)
HANDLE = ((24.4, 22.9), (29.9, 28.4))
TEXT_LINES = ((4, 9), (7, 13), (10, 11), (13, 8), (16, 7), (19, 7), (22, 9), (25, 7))  # (row, length)
LENS_BANDS = ((13, 15), (17, 19), (21, 22))  # rows of magnified text
# A colour that ties with another for a pixel loses to the one earlier here.
TIE_ORDER = "KGBOWCS" + TRANSPARENT


def inside_polygon(x, y, corners):
    inside = False
    for (x1, y1), (x2, y2) in zip(corners, corners[1:] + corners[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


def distance_to_segment(x, y, start, end):
    (ax, ay), (bx, by) = start, end
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def from_lens(x, y, centre=LENS_CENTRE):
    return math.hypot(x - centre[0], y - centre[1])


def shapes():
    page = [("K", lambda x, y: inside_polygon(x, y, [(2, 1), (17, 1), (22, 6), (22, 30), (2, 30)])),
            ("W", lambda x, y: inside_polygon(x, y, [(3, 2), (16, 2), (16, 7), (21, 7), (21, 29), (3, 29)])),
            ("S", lambda x, y: inside_polygon(x, y, [(17, 2.5), (20.5, 6), (17, 6)]))]
    lines = [("G", lambda x, y, row=row, length=length: 5 <= x < 5 + length and row <= y < row + 1)
             for row, length in TEXT_LINES]
    glass = [("K", lambda x, y: distance_to_segment(x, y, *HANDLE) < 2.2),
             ("O", lambda x, y: distance_to_segment(x, y, *HANDLE) < 1.3),
             ("K", lambda x, y: from_lens(x, y) < 7.5),
             ("G", lambda x, y: from_lens(x, y) < 6.5),
             ("C", lambda x, y: from_lens(x, y) < 5.5),
             ("B", lambda x, y: from_lens(x, y) < 5.5 and any(top <= y < bottom for top, bottom in LENS_BANDS)),
             # the glint: the part of the glass outside a disc moved down and right
             ("W", lambda x, y: from_lens(x, y) < 5.5 and from_lens(x, y, (20.3, 18.3)) >= 5.5)]
    return page + lines + glass


def draw_shapes(size):
    drawn = shapes()
    rows = []
    for py in range(size):
        row = ""
        for px in range(size):
            counts = {}
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) * SIZE / size
                    y = (py + (sy + 0.5) / SAMPLES) * SIZE / size
                    colour = TRANSPARENT
                    for name, covers in drawn:
                        if covers(x, y):
                            colour = name
                    counts[colour] = counts.get(colour, 0) + 1
            row += max(counts, key=lambda c: (counts[c], -TIE_ORDER.index(c)))
        rows.append(row)
    return rows


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


def image_bytes(rows, index):
    size = len(rows)
    # Bitmap rows run bottom-up, each padded to whole DWORDs: 4-bit colour rows and 1-bit mask rows.
    colour_pad = b"\0" * (-(size // 2) % 4)
    mask_pad = b"\0" * (-((size + 7) // 8) % 4)
    colour_rows = b""
    mask_rows = b""
    for row in reversed(rows):
        nibbles = [index.get(ch, 0) for ch in row]
        colour_rows += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2)) + colour_pad
        bits = 0
        for ch in row:
            bits = (bits << 1) | (1 if ch == TRANSPARENT else 0)
        mask_rows += bits.to_bytes((size + 7) // 8, "big") + mask_pad

    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for _, r, g, b in PALETTE)
    # The header's height covers the colour image and the mask together.
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0,
                         len(colour_rows) + len(mask_rows), 0, 0, len(PALETTE), 0)
    return header + palette + colour_rows + mask_rows


def icon_bytes():
    rows, index = read_pixels()
    images = [image_bytes(rows, index)] + [image_bytes(draw_shapes(size), index) for size in LARGER_SIZES]
    sizes = (SIZE,) + LARGER_SIZES

    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, image in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size, size, len(PALETTE), 0, 1, 4, len(image), offset)
        offset += len(image)
    return directory + entries + b"".join(images)


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "Seekword.ico")
    with open(out, "wb") as f:
        f.write(icon_bytes())


if __name__ == "__main__":
    main()
