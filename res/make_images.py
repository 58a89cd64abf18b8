#!/usr/bin/env python3
"""Writes huevane.ico and hand.cur, the program's icon and link cursor.

The icon is a colour-swatch motif: four coloured squares in a dark frame, at 16 x 16 and
32 x 32 pixels, 24 bits per pixel. The cursor is a two-colour pointing hand, 32 x 32, with its
hot spot on the finger tip at (5, 0). Run it from this folder; its output is committed.
"""
import struct

SWATCHES = [(0x2F, 0x4C, 0x97), (0xE0, 0x40, 0x30), (0x40, 0xB0, 0x50), (0xF0, 0xC0, 0x30)]
FRAME = (0x20, 0x20, 0x20)
BACK = (0x00, 0x00, 0x00)  # outside the frame; transparent through the mask


def swatch_pixel(x, y, size):
    edge = size // 8
    if x < edge or y < edge or x >= size - edge or y >= size - edge:
        return BACK
    if x == edge or y == edge or x == size - edge - 1 or y == size - edge - 1:
        return FRAME
    inner_mid = size // 2
    if x in (inner_mid - 1, inner_mid) and size >= 32 or (size < 32 and x == inner_mid):
        return FRAME
    if y in (inner_mid - 1, inner_mid) and size >= 32 or (size < 32 and y == inner_mid):
        return FRAME
    index = (1 if x > inner_mid else 0) + (2 if y > inner_mid else 0)
    return SWATCHES[index]


def mask_rows(width, height, opaque):
    """AND mask rows, bottom-up, each padded to 32 bits; 1 marks a transparent pixel."""
    stride = ((width + 31) // 32) * 4
    rows = []
    for y in reversed(range(height)):
        bits = bytearray(stride)
        for x in range(width):
            if not opaque(x, y):
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(bits))
    return b"".join(rows)


def icon_image(size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 24, 0, 0, 0, 0, 0, 0)
    stride = (size * 3 + 3) & ~3
    rows = []
    for y in reversed(range(size)):
        row = bytearray()
        for x in range(size):
            r, g, b = swatch_pixel(x, y, size)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    return header + b"".join(rows) + mask_rows(size, size, lambda x, y: swatch_pixel(x, y, size) != BACK)


def write_ico(path):
    images = [icon_image(16), icon_image(32)]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in zip((16, 32), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 24, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


# The hand, row by row: '#' black outline, '.' white fill, ' ' transparent.
HAND = [
    "    ##",
    "   #..#",
    "   #..#",
    "   #..#",
    "   #..#",
    "   #..###",
    "   #..#..###",
    "   #..#..#..##",
    "   #..#..#..#.#",
    "####..#..#..#..#",
    "#..#..........#.#",
    "#...#...........#",
    " #..............#",
    "  #.............#",
    "  #.............#",
    "   #...........#",
    "   #...........#",
    "    #.........#",
    "    #.........#",
    "    ###########",
]


def hand_pixel(x, y):
    if y >= len(HAND) or x >= len(HAND[y]):
        return " "
    return HAND[y][x]


def write_cur(path):
    size = 32
    # Shift the drawing so the finger tip sits at the hot spot (5, 0).
    tip_x = HAND[0].index("#") + 1
    shift = tip_x - 5

    def pixel(x, y):
        return hand_pixel(x + shift, y) if x + shift >= 0 else " "

    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0))
    # XOR bits: 1 is white. AND bits: 1 is transparent.
    xor_rows = []
    for y in reversed(range(size)):
        bits = bytearray(4)
        for x in range(size):
            if pixel(x, y) == ".":
                bits[x // 8] |= 0x80 >> (x % 8)
        xor_rows.append(bytes(bits))
    and_bits = mask_rows(size, size, lambda x, y: pixel(x, y) != " ")
    data = header + palette + b"".join(xor_rows) + and_bits
    out = struct.pack("<HHH", 0, 2, 1)
    out += struct.pack("<BBBBHHII", size, size, 2, 0, 5, 0, len(data), 6 + 16)
    with open(path, "wb") as f:
        f.write(out + data)


if __name__ == "__main__":
    write_ico("huevane.ico")
    write_cur("hand.cur")
