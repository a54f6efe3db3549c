#!/usr/bin/env python3
"""Draws Perch's icon (one 32x32 image, 16 colours, with mask) into resources/perch.ico.

The picture: a small teal bird with a red breast perched on an olive branch
with one leaf, outlined in black so it reads on any background. Run again
after changing it.
"""
import os
import struct
import sys

# The 16-colour VGA palette, as every 4-bit icon viewer expects it.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, TEAL, GREY, RED, LIME, YELLOW, WHITE = 0, 1, 2, 3, 6, 8, 9, 10, 11, 15
SIZE = 32
CLEAR = None


def inside_ellipse(x, y, cx, cy, rx, ry):
    return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def draw():
    px = [[CLEAR] * SIZE for _ in range(SIZE)]

    def put(x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            px[y][x] = c

    # The branch: a slightly rising bar, three pixels thick, with a twig.
    for x in range(1, 31):
        y0 = 26 - (x * 4) // 30
        for d in range(3):
            put(x, y0 + d, MAROON if d == 2 else OLIVE)
    for i in range(5):
        put(25 + i, 22 - i, OLIVE)
    # One leaf on the twig.
    for y in range(SIZE):
        for x in range(SIZE):
            if inside_ellipse(x, y, 27.5, 16.5, 2.2, 3.4):
                put(x, y, LIME if x < 28 else GREEN)
    # The tail, pointing down behind the body.
    for i in range(7):
        for w in range(-1 - i // 3, 2 + i // 3):
            put(8 - i + w, 17 + i, TEAL if w < 1 else GREY)
    # Body and head.
    for y in range(SIZE):
        for x in range(SIZE):
            if inside_ellipse(x, y, 14.5, 15.5, 7.5, 6.2):
                put(x, y, TEAL)
            if inside_ellipse(x, y, 20.5, 9.5, 4.6, 4.4):
                put(x, y, TEAL)
    # The red breast below the head.
    for y in range(SIZE):
        for x in range(SIZE):
            if px[y][x] == TEAL and inside_ellipse(x, y, 18.5, 16.0, 4.3, 4.6):
                put(x, y, RED)
    # The wing: a grey feather line across the body.
    for x in range(9, 17):
        put(x, 13 + (x - 9) // 3, GREY)
    # Eye and beak.
    put(21, 8, BLACK)
    put(22, 8, BLACK)
    put(21, 7, WHITE)
    for i, (x, y) in enumerate([(25, 9), (26, 9), (27, 10), (25, 10), (26, 10)]):
        put(x, y, YELLOW)
    # Legs down to the branch.
    for x in (13, 17):
        for y in range(21, 26 - (x * 4) // 30):
            put(x, y, BLACK)
    # A black outline around everything that is not the branch or legs.
    outline = []
    for y in range(SIZE):
        for x in range(SIZE):
            if px[y][x] is not CLEAR:
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if 0 <= nx < SIZE and 0 <= ny < SIZE and px[ny][nx] in (TEAL, RED, LIME, GREEN, YELLOW, GREY):
                    outline.append((x, y))
                    break
    for x, y in outline:
        px[y][x] = BLACK
    return px


def dib(px):
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor = b''
    for row in reversed(px):
        out = bytearray(SIZE // 2)
        for x, c in enumerate(row):
            v = 0 if c is CLEAR else c
            out[x // 2] |= v << (4 if x % 2 == 0 else 0)
        xor += bytes(out)
    mask = b''
    for row in reversed(px):
        out = bytearray(4)
        for x, c in enumerate(row):
            if c is CLEAR:
                out[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(out)
    return header + palette + xor + mask


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'resources', 'perch.ico')
    image = dib(draw())
    data = struct.pack('<HHH', 0, 1, 1)
    data += struct.pack('<BBBBHHII', SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    data += image
    with open(out, 'wb') as f:
        f.write(data)


main()
