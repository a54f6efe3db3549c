#!/usr/bin/env python3
"""Writes bitmap 817 of Tessel's history picker: 2 x 17 pixels, 4 bits per
pixel, every pixel white. Its one image is transparent under the picker's
mask and only makes each list row 17 pixels high.
Usage: make-history-bitmap.py [out.bmp]  (default resources/history_row.bmp)"""
import os
import struct
import sys

WIDTH, HEIGHT, BITS = 2, 17, 4
# The sixteen colours of the standard VGA palette (blue, green, red, 0).
PALETTE = [
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128),
    (128, 0, 0), (128, 0, 128), (128, 128, 0), (192, 192, 192),
    (128, 128, 128), (0, 0, 255), (0, 255, 0), (0, 255, 255),
    (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255),
]
WHITE = 15


def bitmap():
    row_bytes = ((WIDTH * BITS + 31) // 32) * 4
    pixels = bytes([WHITE << 4 | WHITE]) + bytes(row_bytes - 1)
    image = pixels * HEIGHT
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for b, g, r in PALETTE)
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, BITS, 0, len(image), 2835, 2835, 16, 0)
    head = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    return head + info + palette + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "history_row.bmp")
    with open(out, "wb") as f:
        f.write(bitmap())


if __name__ == "__main__":
    main()
