#!/usr/bin/env python3
"""Draws the About window's logo and writes it as an RGBA PNG file.

Usage: make_logo.py <out.png> [width height]

The logo is a rounded panel with a blue-to-teal gradient, a disc with a rainbow sheen casting a
soft shadow, and a few light stripes; its corners and the shadow are partly transparent. Each row
is written with the PNG filter that suits it best, so the file uses all five filter types. Only
the standard library (zlib, struct) is used.
"""
import math
import struct
import sys
import zlib

DEFAULT_SIZE = (160, 232)  # fits the About window's logo panel (171 x 238) uncut
SAMPLES = 3  # supersampling per axis, for smooth edges


def clamp(v):
    return max(0, min(255, int(round(v))))


def rounded_rect_inside(x, y, w, h, radius):
    """True if (x, y) lies inside the rectangle 0..w, 0..h with rounded corners."""
    if x < 0 or y < 0 or x > w or y > h:
        return False
    cx = min(max(x, radius), w - radius)
    cy = min(max(y, radius), h - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def over(dst, src):
    """Composites the straight-alpha colour src (r, g, b, a in 0..1) over dst."""
    sa = src[3]
    da = dst[3] * (1 - sa)
    a = sa + da
    if a <= 0:
        return (0.0, 0.0, 0.0, 0.0)
    return tuple((src[i] * sa + dst[i] * da) / a for i in range(3)) + (a,)


def sample(x, y, w, h):
    """Colour of the logo at point (x, y) as (r, g, b, a), components 0..1."""
    col = (0.0, 0.0, 0.0, 0.0)
    margin = 4.0
    if rounded_rect_inside(x - margin, y - margin, w - 2 * margin, h - 2 * margin, 14.0):
        t = y / h
        col = (0.08 + 0.02 * t, 0.20 + 0.35 * t, 0.48 + 0.10 * t, 1.0)
        # Light diagonal stripes in the lower part of the panel.
        if y > h * 0.62:
            stripe = (x + y * 0.6) % 22.0
            if stripe < 3.0:
                col = over(col, (1.0, 1.0, 1.0, 0.18))
    cx, cy = w / 2.0, h * 0.36
    radius = min(w, h) * 0.40
    # Soft shadow of the disc, offset down and right.
    sd = math.hypot(x - cx - 4.0, y - cy - 6.0)
    if sd < radius + 6.0:
        fall = min(1.0, max(0.0, (radius + 6.0 - sd) / 10.0))
        col = over(col, (0.0, 0.0, 0.0, 0.45 * fall))
    d = math.hypot(x - cx, y - cy)
    if d <= radius and d >= radius * 0.10:
        if d < radius * 0.30:
            disc = (0.84, 0.87, 0.90, 0.55 if d < radius * 0.22 else 0.95)
        else:
            ang = math.atan2(y - cy, x - cx)
            sheen = 0.5 + 0.5 * math.cos(2.0 * ang - 0.8)
            hue = ang / (2 * math.pi) + 0.5
            base = 0.58 + 0.32 * sheen
            disc = tuple(
                min(1.0, max(0.0, base + 0.13 * math.cos(2 * math.pi * (3 * hue - k / 3.0))))
                for k in range(3)
            ) + (1.0,)
            if d > radius - 1.5:
                disc = (0.35, 0.38, 0.43, 1.0)
        col = over(col, disc)
    return col


def render(w, h):
    """Straight-alpha RGBA rows of the logo."""
    rows = []
    n = SAMPLES * SAMPLES
    for py in range(h):
        row = bytearray()
        for px in range(w):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    r, g, b, a = sample(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES, w, h)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            if acc[3] > 0:
                row += bytes((clamp(255 * acc[0] / acc[3]), clamp(255 * acc[1] / acc[3]),
                              clamp(255 * acc[2] / acc[3]), clamp(255 * acc[3] / n)))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return rows


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filter_row(kind, row, prev, bpp):
    out = bytearray(len(row))
    for i, x in enumerate(row):
        a = row[i - bpp] if i >= bpp else 0
        b = prev[i]
        c = prev[i - bpp] if i >= bpp else 0
        pred = (0, a, b, (a + b) // 2, paeth(a, b, c))[kind]
        out[i] = (x - pred) & 0xFF
    return bytes(out)


def filtered(rows, bpp):
    """The filtered image data: per row the filter whose output has the least magnitude."""
    out = bytearray()
    prev = bytes(len(rows[0]))
    for row in rows:
        best = None
        for kind in range(5):
            f = filter_row(kind, row, prev, bpp)
            cost = sum(v if v < 128 else 256 - v for v in f)
            if best is None or cost < best[0]:
                best = (cost, kind, f)
        out.append(best[1])
        out += best[2]
        prev = row
    return bytes(out)


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def main():
    if len(sys.argv) not in (2, 4):
        sys.exit("usage: make_logo.py <out.png> [width height]")
    w, h = DEFAULT_SIZE if len(sys.argv) == 2 else (int(sys.argv[2]), int(sys.argv[3]))
    if not (16 <= w <= 1024 and 16 <= h <= 1024):
        sys.exit("make_logo.py: width and height must lie between 16 and 1024")
    data = filtered(render(w, h), 4)
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(data, 9))
    png += chunk(b"IEND", b"")
    with open(sys.argv[1], "wb") as f:
        f.write(png)


if __name__ == "__main__":
    main()
