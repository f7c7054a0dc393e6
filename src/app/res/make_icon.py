#!/usr/bin/env python3
"""Draws the application icon, a shiny optical disc, and writes it as a .ico file.

Usage: make_icon.py <out.ico>

The icon holds 16, 32 and 48 pixel images as 32-bit BGRA bitmaps with their AND masks,
which every Windows version since XP reads. Only the standard library is used.
"""
import math
import struct
import sys

SIZES = (16, 32, 48)


def disc_pixel(x, y, size):
    """Returns (r, g, b, a) of the disc at pixel centre (x, y), with 4x4 supersampling."""
    c = size / 2.0
    outer = size / 2.0 - 0.5
    hole = size * 0.09
    hub = size * 0.22
    acc = [0.0, 0.0, 0.0, 0.0]
    for sy in range(4):
        for sx in range(4):
            px = x + (sx + 0.5) / 4.0 - c
            py = y + (sy + 0.5) / 4.0 - c
            r = math.hypot(px, py)
            if r > outer or r < hole:
                continue
            if r < hub:
                # Clear plastic hub with a grey clamping ring.
                col = (170, 178, 190) if r > hub * 0.75 else (215, 222, 230)
            else:
                # Silver surface with a rainbow sheen that turns with the angle.
                ang = math.atan2(py, px)
                sheen = 0.5 + 0.5 * math.cos(2.0 * ang - 0.8)
                base = 150 + 80 * sheen
                hue = (ang / (2.0 * math.pi) + 0.5) * 3.0
                tint = (
                    30 * math.cos(2 * math.pi * hue),
                    30 * math.cos(2 * math.pi * (hue - 1 / 3)),
                    30 * math.cos(2 * math.pi * (hue - 2 / 3)),
                )
                col = tuple(max(0, min(255, base + t)) for t in tint)
                if r > outer - max(1.0, size / 32.0):
                    col = (96, 104, 116)  # rim
            for i in range(3):
                acc[i] += col[i]
            acc[3] += 1.0
    if acc[3] == 0:
        return (0, 0, 0, 0)
    n = acc[3]
    return (int(acc[0] / n), int(acc[1] / n), int(acc[2] / n), int(round(255 * n / 16.0)))


def icon_image(size):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA rows, then the 1-bit AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        row_mask = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = disc_pixel(x, y, size)
            pixels += bytes((b, g, r, a))
            if a == 0:
                row_mask[x // 8] |= 0x80 >> (x % 8)
        mask += row_mask
    return header + bytes(pixels) + bytes(mask)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py <out.ico>")
    images = [icon_image(s) for s in SIZES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
