#!/usr/bin/env python3
"""Draws the standard pictures of the glyph button kinds: per kind one 36 x 18 bitmap with the
normal picture on the left and the disabled one on the right, on an olive background that the
button leaves out; and the same drawn from the patterns at 1.5 and 2 times the size
(kind_<name>-150.bmp, 54 x 27, and kind_<name>-200.bmp, 72 x 36) for screens of 144 and 192 DPI.
Usage: make_kind_glyphs.py <output folder>"""
import os
import struct
import sys

KEY = (128, 128, 0)  # olive: the transparent colour (the bottom-left pixel)

# File name suffix: pixels per pattern cell (1x, 1.5x, 2x).
CELLS = {"": 2, "-150": 3, "-200": 4}

# 9 x 9 patterns, each cell drawn as a square of CELLS[scale] pixels. '#' is the kind's colour.
PATTERNS = {
    "OK": ((0, 128, 0), [
        ".........", "........#", ".......##", "#.....##.", "##...##..",
        ".##.##...", "..###....", "...#.....", "........."]),
    "CANCEL": ((192, 0, 0), [
        "#.......#", "##.....##", ".##...##.", "..##.##..", "...###...",
        "..##.##..", ".##...##.", "##.....##", "#.......#"]),
    "HELP": ((0, 0, 192), [
        "..#####..", ".##...##.", ".......##", "......##.", "....##...",
        "....##...", ".........", "....##...", "....##..."]),
    "YES": ((0, 128, 0), [
        ".........", "........#", ".......##", "#.....##.", "##...##..",
        ".##.##...", "..###....", "...#.....", "........."]),
    "NO": ((192, 0, 0), [
        "..#####..", ".##...##.", "##...#.##", "#...#...#", "#..#....#",
        "#.#.....#", "##.#..##.", ".##...##.", "..#####.."]),
    "CLOSE": ((0, 96, 160), [
        "#######..", "#.....#..", "#.....#.#", "#.....###", "#..######",
        "#.....###", "#.....#.#", "#.....#..", "#######.."]),
    "ABORT": ((192, 0, 0), [
        "..#####..", ".#######.", "#########", "#########", "#.......#",
        "#########", "#########", ".#######.", "..#####.."]),
    "RETRY": ((0, 128, 0), [
        "...####.#", "..#....##", ".#....###", "#........", "#........",
        "#.......#", ".#.....#.", "..#...#..", "...###..."]),
    "IGNORE": ((0, 0, 0), [
        ".........", ".........", ".........", ".........", "#########",
        ".........", ".........", ".........", "........."]),
    "ALL": ((0, 128, 0), [
        "......#.#", ".....####", "#...##.#.", "##.##.##.", ".###.##..",
        "..#.##...", "...##....", "...#.....", "........."]),
}


def grey(colour):
    v = (colour[0] * 30 + colour[1] * 59 + colour[2] * 11) // 100
    return tuple(128 + (v * 127) // 255 for _ in range(3))


def picture(pattern, colour, cell):
    side = 9 * cell
    rows = []
    for y in range(side):
        row = []
        for half in (colour, grey(colour)):
            for x in range(side):
                c = pattern[y // cell][x // cell]
                row.append(half if c == "#" else KEY)
        rows.append(row)
    return rows


def bmp(rows):
    h = len(rows)
    w = len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + bytes(data)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, (colour, pattern) in PATTERNS.items():
        for suffix, cell in CELLS.items():
            with open(os.path.join(out, "kind_%s%s.bmp" % (name.lower(), suffix)), "wb") as f:
                f.write(bmp(picture(pattern, colour, cell)))


if __name__ == "__main__":
    main()
