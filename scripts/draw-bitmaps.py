#!/usr/bin/env python3
"""Draws the program's small bitmap resources as PNG files.

The chart editor's brush patterns, textures, arrow and navigator glyphs are
drawn here (by code, so they can be drawn again the same) and compiled into
the drawing layer as resources. Run it after changing a drawing:
    python3 scripts/draw-bitmaps.py
Only the standard library is used (PNG written with zlib).
"""
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "platform", "gfx", "images")

# Glyph background, keyed out through the bottom-left pixel (teal).
KEY = (0, 128, 128)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)


def chunk(kind, data):
    c = struct.pack(">I", len(data)) + kind + data
    return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def write_png(name, width, height, pixel, bits=24):
    """pixel(x, y) gives (r, g, b), or 0/1 for a one-bit image (1 white)."""
    rows = []
    for y in range(height):
        if bits == 1:
            row = bytearray([0])
            byte = 0
            for x in range(width):
                byte = (byte << 1) | (1 if pixel(x, y) else 0)
                if x % 8 == 7:
                    row.append(byte)
                    byte = 0
            if width % 8:
                row.append(byte << (8 - width % 8))
        else:
            row = bytearray([0])
            for x in range(width):
                row.extend(pixel(x, y))
        rows.append(bytes(row))
    color_type = 0 if bits == 1 else 2
    header = struct.pack(">IIBBBBB", width, height, 1 if bits == 1 else 8, color_type, 0, 0, 0)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
    data += chunk(b"IEND", b"")
    with open(os.path.join(OUT, name + ".png"), "wb") as f:
        f.write(data)


# ---- Brush patterns: 16 x 16, one bit a pixel, black pattern on white ----

BAYER = [
    [0, 32, 8, 40, 2, 34, 10, 42],
    [48, 16, 56, 24, 50, 18, 58, 26],
    [12, 44, 4, 36, 14, 46, 6, 38],
    [60, 28, 52, 20, 62, 30, 54, 22],
    [3, 35, 11, 43, 1, 33, 9, 41],
    [51, 19, 59, 27, 49, 17, 57, 25],
    [15, 47, 7, 39, 13, 45, 5, 37],
    [63, 31, 55, 23, 61, 29, 53, 21],
]


def fill(percent):
    level = round(percent * 64 / 100)
    return lambda x, y: 0 if BAYER[y % 8][x % 8] < level else 1


def pattern(black):
    return lambda x, y: 0 if black(x, y) else 1


PATTERNS = [
    fill(80),
    fill(60),
    fill(40),
    fill(20),
    fill(10),
    pattern(lambda x, y: y % 8 == abs(x % 8 - 4) + 1),  # zig zag
    pattern(lambda x, y: x % 4 == 0),  # vertical small
    pattern(lambda x, y: y % 4 == 0),  # horizontal small
    pattern(lambda x, y: (x + y) % 4 == 3),  # diagonal small
    pattern(lambda x, y: (x - y) % 4 == 0),  # back diagonal small
    pattern(lambda x, y: x % 4 == 0 or y % 4 == 0),  # cross small
    pattern(lambda x, y: (x + y) % 4 == 3 or (x - y) % 4 == 0),  # diagonal cross small
]


# ---- Textures: 24-bit colour, from a fixed pseudo-random sequence ----

def noise(seed):
    state = [seed & 0x7FFFFFFF or 1]

    def next_value():
        state[0] = (state[0] * 1103515245 + 12345) & 0x7FFFFFFF
        return (state[0] >> 8) / float(1 << 23)

    return next_value


def grid_noise(size, seed, cell):
    """Smooth value noise on a size x size grid that tiles."""
    rnd = noise(seed)
    n = size // cell
    knots = [[rnd() for _ in range(n)] for _ in range(n)]

    def at(x, y):
        gx, gy = x / cell, y / cell
        x0, y0 = int(gx) % n, int(gy) % n
        x1, y1 = (x0 + 1) % n, (y0 + 1) % n
        fx, fy = gx - int(gx), gy - int(gy)
        fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
        top = knots[y0][x0] * (1 - fx) + knots[y0][x1] * fx
        bottom = knots[y1][x0] * (1 - fx) + knots[y1][x1] * fx
        return top * (1 - fy) + bottom * fy

    return at


def clamp(v):
    return max(0, min(255, int(round(v))))


def mix(a, b, t):
    return tuple(clamp(a[i] + (b[i] - a[i]) * t) for i in range(3))


def metal():
    rnd = noise(7)
    streaks = [rnd() for _ in range(16)]
    return lambda x, y: mix((150, 155, 165), (215, 220, 228), 0.6 * streaks[y] + 0.4 * ((x * 5 + y * 3) % 16) / 15)


def wood():
    grain = grid_noise(16, 11, 4)

    def px(x, y):
        ring = ((x * 0.9 + grain(x, y) * 3) % 4) / 4
        return mix((120, 70, 30), (190, 125, 65), ring)

    return px


def stone():
    big = grid_noise(16, 23, 4)
    rnd = noise(29)
    speck = [[rnd() for _ in range(16)] for _ in range(16)]
    return lambda x, y: mix((95, 95, 90), (185, 182, 175), 0.7 * big(x, y) + 0.3 * speck[y][x])


def clouds():
    a = grid_noise(32, 31, 8)
    b = grid_noise(32, 37, 4)

    def px(x, y):
        v = 0.65 * a(x, y) + 0.35 * b(x, y)
        return mix((70, 120, 215), WHITE, max(0.0, (v - 0.35) / 0.65))

    return px


def grass():
    rnd = noise(41)
    blades = [rnd() for _ in range(32)]
    shade = grid_noise(32, 43, 8)

    def px(x, y):
        blade = 1.0 if (y + int(blades[x] * 32)) % 9 < 6 else 0.45
        return mix((20, 80, 15), (110, 200, 60), blade * (0.5 + 0.5 * shade(x, y)))

    return px


def fire():
    flicker = grid_noise(32, 53, 8)

    def px(x, y):
        heat = (y / 31.0) * 0.75 + flicker(x, y) * 0.45
        if heat < 0.5:
            return mix((120, 10, 0), (240, 80, 0), heat * 2)
        return mix((240, 80, 0), (255, 235, 90), min(1.0, (heat - 0.5) * 2))

    return px


def snow():
    rnd = noise(61)
    flakes = {(int(rnd() * 32), int(rnd() * 32)) for _ in range(40)}
    drift = grid_noise(32, 67, 8)

    def px(x, y):
        if (x, y) in flakes:
            return WHITE
        return mix((190, 205, 225), (240, 244, 250), drift(x, y))

    return px


TEXTURES = [("Metal", 16, metal()), ("Wood", 16, wood()), ("Stone", 16, stone()), ("Clouds", 32, clouds()),
            ("Grass", 32, grass()), ("Fire", 32, fire()), ("Snow", 32, snow())]


# ---- Glyphs: two glyphs side by side (enabled, disabled) on the key colour ----

def two_glyphs(size, inside):
    def px(x, y):
        glyph, gx = divmod(x, size)
        if inside(gx, y):
            return BLACK if glyph == 0 else GREY
        return KEY

    return px


def up_arrow(x, y):  # 12 x 12: a triangle pointing up
    return 3 <= y <= 8 and abs(x - 5.5) <= (y - 3) + 0.5


def down_arrow(x, y):
    return 3 <= y <= 8 and abs(x - 5.5) <= (8 - y) + 0.5


def nav(kind):
    def tri_left(x, y, tip):  # a triangle pointing left with its tip at column tip
        return tip <= x <= tip + 4 and abs(y - 5) <= x - tip

    def tri_right(x, y, tip):
        return tip - 4 <= x <= tip and abs(y - 5) <= tip - x

    shapes = {
        "First": lambda x, y: (x in (2, 3) and 1 <= y <= 9) or tri_left(x, y, 4),
        "Prior": lambda x, y: tri_left(x, y, 3),
        "Next": lambda x, y: tri_right(x, y, 7),
        "Last": lambda x, y: (x in (8, 9) and 1 <= y <= 9) or tri_right(x, y, 7),
        "Insert": lambda x, y: (4 <= x <= 6 and 1 <= y <= 9) or (1 <= x <= 9 and 4 <= y <= 6),
        "Delete": lambda x, y: 1 <= x <= 9 and 4 <= y <= 6,
        "Edit": lambda x, y: 1 <= x <= 9 and 1 <= y <= 9 and abs((x + y) - 10) <= 1,
        "Post": lambda x, y: (1 <= x <= 4 and abs(y - (x + 3)) <= 0) or (4 <= x <= 9 and abs(y - (11 - x)) <= 0)
        or (1 <= x <= 4 and y == x + 4) or (4 <= x <= 9 and y == 12 - x),
        "Cancel": lambda x, y: 1 <= x <= 9 and 1 <= y <= 9 and (x == y or x == 10 - y or x == y + 1 or x + 1 == 10 - y),
    }
    return shapes[kind]


# ---- The commander bar's glyphs: 16 x 16, one glyph on the key colour ----

COMMANDER = {
    "Normal": [
        "................",
        "...#............",
        "...##...........",
        "...#.#..........",
        "...#..#.........",
        "...#...#........",
        "...#....#.......",
        "...#.....#......",
        "...#......#.....",
        "...#...#####....",
        "...#.#.#........",
        "...##...#.......",
        "...#....#.......",
        ".........#......",
        ".........#......",
        "................"],
    "Rotate": [
        "................",
        ".....######.....",
        "...##......##...",
        "..#..........#..",
        ".#............#.",
        ".#............#.",
        "#..............#",
        "#..............#",
        "#..............#",
        "#...........#.#.",
        ".#...........##.",
        ".#.........####.",
        "..#.............",
        "...##...........",
        ".....####.......",
        "................"],
    "Move": [
        "................",
        ".......#........",
        "......###.......",
        ".....#####......",
        ".......#........",
        "...#...#...#....",
        "..##...#...##...",
        ".#############..",
        "..##...#...##...",
        "...#...#...#....",
        ".......#........",
        ".....#####......",
        "......###.......",
        ".......#........",
        "................",
        "................"],
    "Zoom": [
        "................",
        "....####........",
        "...#....#.......",
        "..#......#......",
        "..#..##..#......",
        "..#..##..#......",
        "..#......#......",
        "...#....#.......",
        "....####.#......",
        "..........#.....",
        "...........#....",
        "............#...",
        ".............#..",
        "..............#.",
        "................",
        "................"],
    "Depth": [
        "................",
        "......#########.",
        ".....#.......##.",
        "....#.......#.#.",
        "...#.......#..#.",
        "..#########...#.",
        "..#.......#...#.",
        "..#.......#...#.",
        "..#.......#...#.",
        "..#.......#..#..",
        "..#.......#.#...",
        "..#.......##....",
        "..#########.....",
        "................",
        "................",
        "................"],
    "View3D": [
        "................",
        "................",
        ".###....####....",
        "....#...#...#...",
        "....#...#....#..",
        "..##....#....#..",
        "....#...#....#..",
        "....#...#...#...",
        ".###....####....",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................"],
    "Edit": [
        "................",
        "...........##...",
        "..........#..#..",
        ".........#..#...",
        "........#..#....",
        ".......#..#.....",
        "......#..#......",
        ".....#..#.......",
        "....#..#........",
        "...#..#.........",
        "...###..........",
        "..##............",
        "..#.............",
        "................",
        ".##############.",
        "................"],
    "Print": [
        "................",
        "....########....",
        "....#......#....",
        "....#......#....",
        "..############..",
        ".#............#.",
        ".#..........#.#.",
        ".#............#.",
        ".##############.",
        ".#..########..#.",
        "....#......#....",
        "....#......#....",
        "....#......#....",
        "....########....",
        "................",
        "................"],
    "Copy": [
        "................",
        ".######.........",
        ".#....##........",
        ".#....#.#.......",
        ".#....######....",
        ".#....#....##...",
        ".#....#....#.#..",
        ".#....#....####.",
        ".######.......#.",
        "......#.......#.",
        "......#.......#.",
        "......#.......#.",
        "......#########.",
        "................",
        "................",
        "................"],
    "Save": [
        "................",
        ".#############..",
        ".#.#.......#.##.",
        ".#.#.......#..#.",
        ".#.#.......#..#.",
        ".#.#########..#.",
        ".#............#.",
        ".#..########..#.",
        ".#..#......#..#.",
        ".#..#......#..#.",
        ".#..#......#..#.",
        ".#..#......#..#.",
        ".##############.",
        "................",
        "................",
        "................"],
}


def commander_glyph(rows):
    def px(x, y):
        return BLACK if rows[y][x] == "#" else KEY

    return px


def main():
    os.makedirs(OUT, exist_ok=True)
    for i, p in enumerate(PATTERNS, start=1):
        write_png("GrafBrush%d" % i, 16, 16, p, bits=1)
    for name, size, px in TEXTURES:
        write_png("GrafTexture" + name, size, size, px)
    write_png("GrafArrowUp", 24, 12, two_glyphs(12, up_arrow))
    write_png("GrafArrowDown", 24, 12, two_glyphs(12, down_arrow))
    for kind in ("First", "Prior", "Next", "Last", "Insert", "Delete", "Edit", "Post", "Cancel"):
        write_png("GrafNav_" + kind, 22, 11, two_glyphs(11, nav(kind)))
    for kind, rows in COMMANDER.items():
        write_png("Graf" + kind, 16, 16, commander_glyph(rows))


if __name__ == "__main__":
    main()
