#!/usr/bin/env python3
"""Draws Tessel's icon (16x16 and 32x32, 32-bit with mask) into resources/tessel.ico.

The picture: a 2x2 mosaic of rounded photo tiles (sky, meadow, sun, sea)
with a small dark frame, readable at 16 pixels. Run again after changing it.
"""
import struct, sys, os

def draw(size):
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    gap = 1 if size == 16 else 2
    margin = 1 if size == 16 else 2
    tile = (size - 2 * margin - gap) // 2
    colours = [(66, 133, 244), (244, 180, 0), (52, 168, 83), (0, 150, 170)]  # RGB
    frame = (40, 44, 52)
    for t in range(4):
        ox = margin + (t % 2) * (tile + gap)
        oy = margin + (t // 2) * (tile + gap)
        r, g, b = colours[t]
        for y in range(tile):
            for x in range(tile):
                corner = (x in (0, tile - 1)) and (y in (0, tile - 1))
                if corner:
                    continue
                edge = x == 0 or y == 0 or x == tile - 1 or y == tile - 1
                c = frame if edge else (r, g, b)
                # a light stripe: the photo's horizon
                if not edge and y == tile // 2:
                    c = tuple(min(255, v + 70) for v in (r, g, b))
                px[oy + y][ox + x] = (c[0], c[1], c[2], 255)
    return px

def dib(px):
    size = len(px)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(struct.pack('<BBBB', b, g, r, a) for row in reversed(px) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(px):
        bits = 0
        out = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                out[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(out)
    return header + xor + mask

def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'resources', 'tessel.ico')
    images = [dib(draw(s)) for s in (16, 32)]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip((16, 32), images):
        data += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    data += b''.join(images)
    with open(out, 'wb') as f:
        f.write(data)

main()
