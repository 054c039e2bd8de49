#!/usr/bin/env python3
"""Writes the square pictures of the HTML diagram into data/pieces/.

Ten 24-bit BMP files of 40 x 40 pixels, drawn here: an empty dark and light
square ("dsquare", "lsquare") and a white or black man or king on each
("dwhite_man", "lblack_king", ...). A man is a disc with a rim; a king has a
second ring and a small crown of three points. Deterministic: the same files
every run.
"""
import math
import os
import struct

SIZE = 40
DARK = (96, 122, 64)       # RGB of a dark (playing) square
LIGHT = (236, 226, 196)
WHITE_PIECE = (246, 242, 230)
BLACK_PIECE = (40, 36, 34)
RIM = {"white": (150, 140, 120), "black": (110, 100, 96)}
CROWN = (212, 170, 40)


def blend(a, b, t):
    return tuple(int(round(a[i] * (1 - t) + b[i] * t)) for i in range(3))


def picture(square, piece=None, king=False):
    c = (SIZE - 1) / 2.0
    r_out, r_rim = 16.0, 13.5
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            colour = square
            if piece:
                d = math.hypot(x - c, y - c)
                body = WHITE_PIECE if piece == "white" else BLACK_PIECE
                if d <= r_out:
                    colour = body
                    if r_rim <= d <= r_rim + 1.2:
                        colour = RIM[piece]
                    if king and 7.5 <= d <= 8.7:
                        colour = CROWN
                    if king and d < 6:
                        # Three points of a crown above a band.
                        dx, dy = x - c, y - c
                        band = 0.5 <= dy <= 2.5 and abs(dx) <= 4.5
                        point = -3.5 <= dy < 0.5 and min(abs(dx + 3), abs(dx), abs(dx - 3)) <= (dy + 3.5) * 0.35
                        if band or point:
                            colour = CROWN
                elif d <= r_out + 1:
                    colour = blend(body, square, d - r_out)  # a soft edge
            row.append(colour)
        rows.append(row)
    return rows


def write_bmp(path, rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "pieces")
    os.makedirs(out, exist_ok=True)
    for prefix, square in (("d", DARK), ("l", LIGHT)):
        write_bmp(os.path.join(out, prefix + "square.bmp"), picture(square))
        for piece in ("white", "black"):
            for kind in ("man", "king"):
                name = "%s%s_%s.bmp" % (prefix, piece, kind)
                write_bmp(os.path.join(out, name), picture(square, piece, kind == "king"))


if __name__ == "__main__":
    main()
