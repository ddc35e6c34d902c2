#!/usr/bin/env python3
"""Draws Metaview's program icon (a page with text lines under a magnifying glass) and
writes it as a multi-size .ico: 16, 24, 32 and 48 pixels, 32-bit colour with alpha.

Usage: make_icon.py OUTPUT.ico
The shapes are drawn at 4x4 samples per pixel, which gives smooth (anti-aliased) edges.
"""
import math
import struct
import sys

SIZES = (16, 24, 32, 48)
SAMPLES = 4

PAGE = (250, 250, 246)
PAGE_EDGE = (90, 100, 120)
FOLD = (200, 205, 215)
LINE = (120, 135, 160)
RING = (200, 110, 20)
GLASS = (170, 215, 245)
HANDLE = (70, 50, 40)


def inside_rounded_rect(x, y, x0, y0, x1, y1, r):
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def shade(u, v):
    """Colour (r, g, b, a) of the point (u, v) in the unit square, or None when empty."""
    # Magnifying glass, drawn over the page: handle, ring, lens.
    lx, ly, lr = 0.62, 0.60, 0.25
    d = math.hypot(u - lx, v - ly)
    # Handle: a thick segment from the ring towards the lower right corner.
    hx0, hy0 = lx + lr * 0.72, ly + lr * 0.72
    hx1, hy1 = 0.96, 0.96
    t = ((u - hx0) * (hx1 - hx0) + (v - hy0) * (hy1 - hy0)) / ((hx1 - hx0) ** 2 + (hy1 - hy0) ** 2)
    if 0.0 <= t <= 1.0:
        px, py = hx0 + t * (hx1 - hx0), hy0 + t * (hy1 - hy0)
        if math.hypot(u - px, v - py) <= 0.075:
            return HANDLE + (255,)
    if lr - 0.075 <= d <= lr:
        return RING + (255,)
    page = page_colour(u, v)
    if d < lr - 0.075:
        # The lens: light blue, with the page showing through, its lines magnified.
        base = page_colour(lx + (u - lx) / 1.6, ly + (v - ly) / 1.6) or (GLASS + (255,))
        r, g, b, _ = base
        return (int(r * 0.55 + GLASS[0] * 0.45), int(g * 0.55 + GLASS[1] * 0.45),
                int(b * 0.55 + GLASS[2] * 0.45), 255)
    return page


def page_colour(u, v):
    x0, y0, x1, y1, fold = 0.10, 0.04, 0.74, 0.92, 0.18
    if not (x0 <= u <= x1 and y0 <= v <= y1):
        return None
    # Folded top right corner.
    if u - (x1 - fold) > v - y0:
        return None
    edge = 0.035
    if (u - (x1 - fold)) > (v - y0) - edge and v < y0 + fold:
        return PAGE_EDGE + (255,)
    if u > x1 - fold and v < y0 + fold:
        return FOLD + (255,)
    if u < x0 + edge or u > x1 - edge or v < y0 + edge or v > y1 - edge:
        return PAGE_EDGE + (255,)
    # Text lines.
    for i, top in enumerate((0.26, 0.40, 0.54, 0.68)):
        right = 0.62 if i % 2 == 0 else 0.52
        if top <= v <= top + 0.06 and 0.20 <= u <= right:
            return LINE + (255,)
    return PAGE + (255,)


def render(size):
    """Rows of (b, g, r, a) pixels, top row first."""
    rows = []
    n = SAMPLES * SAMPLES
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = shade((x + (sx + 0.5) / SAMPLES) / size, (y + (sy + 0.5) / SAMPLES) / size)
                    if c:
                        a = c[3]
                        acc[0] += c[0] * a
                        acc[1] += c[1] * a
                        acc[2] += c[2] * a
                        acc[3] += a
            a = acc[3] / n
            if acc[3]:
                r, g, b = (acc[i] / acc[3] for i in range(3))
            else:
                r = g = b = 0
            row.append((int(round(b)), int(round(g)), int(round(r)), int(round(a))))
        rows.append(row)
    return rows


def dib(size):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA pixels, then the 1-bit AND mask."""
    rows = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes(c for px in row for c in px) for row in reversed(rows))
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    images = [dib(s) for s in SIZES]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(sys.argv[1], 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
