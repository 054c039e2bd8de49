#!/usr/bin/env python3
"""Draws the pictures of the "Walnut" skin (data/skins/Walnut/) and writes its
skin file. Standard library only: the PNG files are assembled by hand.

Usage: python3 tools/make_walnut_skin.py [data folder]
"""
import math
import os
import struct
import sys
import zlib

SQUARE = 54  # medium board squares
ICON = 48
SUPER = 4    # samples per pixel edge for smooth edges

DARK = (128, 84, 52)
LIGHT = (233, 214, 176)
WHITE_PIECE = (246, 240, 226)
WHITE_RIM = (190, 176, 150)
BLACK_PIECE = (30, 26, 28)
BLACK_RIM = (96, 90, 92)
CROWN = (212, 170, 40)


def png(path, width, height, rows):
    """Rows of RGB or RGBA tuples; RGBA rows give a picture with transparency."""
    def chunk(kind, data):
        c = struct.pack(">I", len(data)) + kind + data
        return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    colour_type = 6 if len(rows[0][0]) == 4 else 2
    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in rows)
    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(raw, 9))
    data += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def mix(a, b, t):
    return tuple(round(a[i] * (1 - t) + b[i] * t) for i in range(3))


def background(colour, x, y, size, grain):
    # A soft wood grain: bands that wander a little along the square.
    if not grain:
        return colour
    w = math.sin((y + 3 * math.sin(x / 9.0)) / 2.3) * 0.5 + 0.5
    return mix(colour, tuple(max(0, c - 18) for c in colour), w * 0.6)


def shade(x, y, size, base, piece, king):
    """Colour of one sample at (x, y) in a square of the given size; None for
    a sample of a transparent background (base None)."""
    c = size / 2.0
    r = size * 0.40
    d = math.hypot(x - c, y - c)
    if piece is None or d > r:
        if base is None:
            return None
        if piece is not None and d <= r + size * 0.05 and math.hypot(x - c - 2, y - c - 2) <= r:
            return tuple(max(0, v - 45) for v in base)  # shadow
        return base
    face, rim = piece
    if d > r * 0.86:
        return rim
    col = face
    # Concentric rings on the face.
    for ring in (0.62, 0.38):
        if abs(d - r * ring) < size * 0.018:
            col = rim
    # Light from the upper left.
    col = mix(col, (255, 255, 255), max(0.0, (c - x + c - y) / (4 * r)) * 0.25)
    if king:
        # A five-pointed crown mark in the middle.
        a = math.atan2(y - c, x - c)
        star = r * (0.30 + 0.14 * math.cos(5 * (a + math.pi / 2)))
        if d < star:
            col = CROWN
    return col


def picture(path, size, base_colour, grain, piece, king):
    """A square picture; base_colour None paints the piece alone on a
    transparent background (the icons the pointer carries while dragging)."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0]
            covered = 0
            for sy in range(SUPER):
                for sx in range(SUPER):
                    x = px + (sx + 0.5) / SUPER
                    y = py + (sy + 0.5) / SUPER
                    base = None if base_colour is None else background(base_colour, x, y, size, grain)
                    s = shade(x, y, size, base, piece, king)
                    if s is None:
                        continue
                    covered += 1
                    for i in range(3):
                        acc[i] += s[i]
            if base_colour is not None:
                row.append(tuple(round(v / covered) for v in acc))
            elif covered == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(v / covered) for v in acc) + (round(255 * covered / (SUPER * SUPER)),))
        rows.append(row)
    png(path, size, size, rows)


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data")
    folder = os.path.join(data, "skins", "Walnut")
    os.makedirs(folder, exist_ok=True)
    white = (WHITE_PIECE, WHITE_RIM)
    black = (BLACK_PIECE, BLACK_RIM)
    pictures = [
        ("dark_square=", "dark.png", SQUARE, DARK, True, None, False),
        ("light_square=", "light.png", SQUARE, LIGHT, False, None, False),
        ("dark_black_king=", "dark_bk.png", SQUARE, DARK, True, black, True),
        ("dark_white_king=", "dark_wk.png", SQUARE, DARK, True, white, True),
        ("dark_black_man=", "dark_bm.png", SQUARE, DARK, True, black, False),
        ("dark_white_man=", "dark_wm.png", SQUARE, DARK, True, white, False),
        ("white_man_ico=", "icon_wm.png", ICON, None, False, white, False),
        ("black_man_ico=", "icon_bm.png", ICON, None, False, black, False),
        ("white_king_ico=", "icon_wk.png", ICON, None, False, white, True),
        ("black_king_ico=", "icon_bk.png", ICON, None, False, black, True),
        ("light_black_king=", "light_bk.png", SQUARE, LIGHT, False, black, True),
        ("light_white_king=", "light_wk.png", SQUARE, LIGHT, False, white, True),
        ("light_black_man=", "light_bm.png", SQUARE, LIGHT, False, black, False),
        ("light_white_man=", "light_wm.png", SQUARE, LIGHT, False, white, False),
    ]
    lines = ["BoardCustomSize=2", "dark_highlight=&H0000D7FF", "light_highlight=&H00206080"]
    for key, name, size, colour, grain, piece, king in pictures:
        picture(os.path.join(folder, name), size, colour, grain, piece, king)
        lines.append(key + name)
    lines.append("END")
    with open(os.path.join(data, "skins", "Walnut.ini"), "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("latin-1"))


if __name__ == "__main__":
    main()
