#!/usr/bin/env python3
"""Draws the About box's artwork and writes it into the folder given:

  lumen0000.bmp  the dedication picture of the main page (68 x 66, 24-bit): a crescent moon
                 and stars over a night sky
  lumen0000.ico  the default large application icon (32 and 48 pixels, 32-bit with alpha):
                 a glowing teal lamp globe with a star
  lumen0001.bmp  the hidden picture (290 x 160, 24-bit): the moon over hills with stars
  mercury.cur    the link cursor (32 x 32, monochrome): a pointing hand with a small wing,
                 hot spot at the finger tip

Usage: make_about_art.py OUTPUT_FOLDER
Shapes are drawn with 4x4 samples per pixel (smooth edges); the sky's stars come from a fixed
pseudo-random sequence, so every run writes the same files.
"""
import math
import os
import struct
import sys

SAMPLES = 4


def supersample(width, height, shade):
    """Rows of (r, g, b, a), top row first; shade(u, v) gives (r, g, b, a) or None."""
    rows = []
    n = SAMPLES * SAMPLES
    for y in range(height):
        row = []
        for x in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = shade(x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES)
                    if c:
                        a = c[3]
                        for i in range(3):
                            acc[i] += c[i] * a
                        acc[3] += a
            if acc[3]:
                r, g, b = (acc[i] / acc[3] for i in range(3))
            else:
                r = g = b = 0
            row.append((int(round(r)), int(round(g)), int(round(b)), int(round(acc[3] / n))))
        rows.append(row)
    return rows


def stars(count, width, height, seed):
    out = []
    state = seed
    for _ in range(count):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        x = (state >> 8) % width
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        y = (state >> 8) % height
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        r = 0.35 + ((state >> 8) % 100) / 140.0
        out.append((x + 0.5, y + 0.5, r))
    return out


def sky(v, height, top=(8, 14, 48), bottom=(30, 70, 120)):
    t = v / height
    return tuple(int(top[i] + (bottom[i] - top[i]) * t) for i in range(3))


def night_scene(width, height, moon, moon_r, star_list, hills):
    mx, my = moon

    def shade(u, v):
        # Hills in front.
        if hills:
            h = height * (0.78 + 0.07 * math.sin(u / width * 7.0) + 0.04 * math.sin(u / width * 17.0 + 1.0))
            if v > h:
                return (14, 40, 34, 255) if v > h + 2 else (40, 90, 70, 255)
        d = math.hypot(u - mx, v - my)
        # The crescent: the moon's disc less a disc moved to the upper right.
        if d <= moon_r and math.hypot(u - (mx + moon_r * 0.45), v - (my - moon_r * 0.25)) > moon_r * 0.85:
            return (250, 236, 170, 255)
        glow = max(0.0, 1.0 - (d - moon_r) / (moon_r * 1.2)) if d > moon_r else 0.0
        base = sky(v, height)
        for sx, sy, sr in star_list:
            if abs(u - sx) + abs(v - sy) <= sr * 1.6 and (abs(u - sx) < sr * 0.35 or abs(v - sy) < sr * 0.35
                                                         or math.hypot(u - sx, v - sy) < sr * 0.6):
                return (255, 255, 235, 255)
        return tuple(int(base[i] + (120 - base[i]) * glow * 0.35) for i in range(3)) + (255,)

    return supersample(width, height, shade)


def bmp24(rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, _ in row:
            line += bytes((b, g, r))
        line += b'\0' * (stride - len(line))
        pixels += line
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    file_header = struct.pack('<2sIHHI', b'BM', 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    return file_header + header + bytes(pixels)


def lamp(size):
    c = size / 2.0

    def shade(u, v):
        d = math.hypot(u - c, v - c * 0.92)
        r = size * 0.40
        # A five-pointed star in the globe.
        ang = math.atan2(v - c * 0.92, u - c) + math.pi / 2
        k = (math.cos(5 * ang) + 1) / 2
        star_r = size * (0.10 + 0.12 * k)
        if d <= star_r:
            return (255, 250, 200, 255)
        if d <= r:
            t = d / r
            return (int(40 + 120 * (1 - t)), int(170 + 70 * (1 - t)), int(170 + 70 * (1 - t)), 255)
        if d <= r + size * 0.05:
            return (0, 90, 90, 255)
        # The lamp's foot.
        if c - size * 0.16 <= u <= c + size * 0.16 and size * 0.84 <= v <= size * 0.96:
            return (60, 60, 70, 255)
        return None

    return supersample(size, size, shade)


def ico(images):
    out = struct.pack('<HHH', 0, 1, len(images))
    blobs = []
    for rows in images:
        size = len(rows)
        header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        pixels = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
        stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(rows):
            bits = bytearray(stride)
            for x, px in enumerate(row):
                if px[3] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        blobs.append(header + pixels + bytes(mask))
    offset = 6 + 16 * len(images)
    for rows, blob in zip(images, blobs):
        size = len(rows)
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b''.join(blobs)


# The hand cursor, 32 x 32: '#' black outline, '.' white, ' ' transparent.
HAND = [
    "      ##                        ",
    "     #..#                       ",
    "     #..#                       ",
    "     #..#                       ",
    "     #..#                       ",
    "     #..###                     ",
    "     #..#..###                  ",
    "##   #..#..#..##                ",
    "#..# #..#..#..#.#               ",
    "#...##........#..#              ",
    " #...#...........#    ##        ",
    "  #..............#   #..#       ",
    "  #.............#   #....#      ",
    "   #............#  #.....#      ",
    "   #...........#  #.....#       ",
    "    #..........#  ######        ",
    "    #.........#                 ",
    "     #........#                 ",
    "     #........#                 ",
    "     ##########                 ",
]
HOTSPOT = (6, 0)


def cur():
    size = 32
    rows = HAND + [" " * size] * (size - len(HAND))
    # AND mask: 0 where the cursor draws; XOR: 1 for white.
    and_mask = bytearray()
    xor_mask = bytearray()
    for row in reversed(rows):
        a = bytearray(4)
        x_ = bytearray(4)
        for x, ch in enumerate(row[:size]):
            if ch == ' ':
                a[x // 8] |= 0x80 >> (x % 8)
            elif ch == '.':
                x_[x // 8] |= 0x80 >> (x % 8)
        and_mask += a
        xor_mask += x_
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack('<II', 0x000000, 0xFFFFFF)
    blob = header + palette + bytes(xor_mask) + bytes(and_mask)
    out = struct.pack('<HHH', 0, 2, 1)
    out += struct.pack('<BBBBHHII', size, size, 2, 0, HOTSPOT[0], HOTSPOT[1], len(blob), 22)
    return out + blob


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    files = {
        'lumen0000.bmp': bmp24(night_scene(68, 66, (24, 26), 15, stars(14, 68, 66, 7), False)),
        'lumen0000.ico': ico([lamp(32), lamp(48)]),
        'lumen0001.bmp': bmp24(night_scene(290, 160, (200, 52), 30, stars(60, 290, 120, 11), True)),
        'mercury.cur': cur(),
    }
    for name, data in files.items():
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
