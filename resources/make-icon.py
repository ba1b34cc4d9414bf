#!/usr/bin/env python3
"""Draws the program's icon (resource 128) and writes it as resources/Vuvereze.ico.

The icon is ours, drawn here from a few shapes: a capture card's screen (a dark frame around a
blue picture) with a white play mark and a small green light for "signal locked". Each size
(16, 32, 48 px) is drawn on its own grid, so small sizes stay sharp instead of being a
shrunken copy. Only the standard library is used; the output is the same on every run.

Usage: python3 resources/make-icon.py [OUTPUT]   (default: Vuvereze.ico beside this script)
"""
import os
import struct
import sys

SIZES = (16, 32, 48)


def coverage(inside, x, y, samples=4):
    """How much of pixel (x, y) the shape covers, from samples x samples points in it."""
    hits = 0
    for sy in range(samples):
        for sx in range(samples):
            if inside(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples):
                hits += 1
    return hits / (samples * samples)


def rounded_rect(left, top, right, bottom, radius):
    def inside(px, py):
        if px < left or px > right or py < top or py > bottom:
            return False
        cx = min(max(px, left + radius), right - radius)
        cy = min(max(py, top + radius), bottom - radius)
        return (px - cx) ** 2 + (py - cy) ** 2 <= radius ** 2
    return inside


def triangle(a, b, c):
    def side(p, q, r):
        return (p[0] - r[0]) * (q[1] - r[1]) - (q[0] - r[0]) * (p[1] - r[1])

    def inside(px, py):
        p = (px, py)
        d1, d2, d3 = side(p, a, b), side(p, b, c), side(p, c, a)
        negative = d1 < 0 or d2 < 0 or d3 < 0
        positive = d1 > 0 or d2 > 0 or d3 > 0
        return not (negative and positive)
    return inside


def circle(cx, cy, r):
    return lambda px, py: (px - cx) ** 2 + (py - cy) ** 2 <= r * r


def blend(under, over, alpha):
    """Paints colour `over` (r, g, b) with coverage alpha onto `under` (r, g, b, a)."""
    r, g, b, a = under
    out_a = alpha + a * (1 - alpha)
    if out_a == 0:
        return (0, 0, 0, 0)
    mix = lambda u, o: (o * alpha + u * a * (1 - alpha)) / out_a
    return (mix(r, over[0]), mix(g, over[1]), mix(b, over[2]), out_a)


def draw(size):
    s = size / 16.0  # shapes are laid out on a 16-unit grid
    frame = rounded_rect(0.5 * s, 2 * s, 15.5 * s, 13.5 * s, 1.6 * s)
    screen = rounded_rect(1.75 * s, 3.25 * s, 14.25 * s, 12.25 * s, 0.6 * s)
    play = triangle((6 * s, 5.25 * s), (6 * s, 10.25 * s), (10.5 * s, 7.75 * s))
    light = circle(13.2 * s, 14.6 * s, 0.9 * s)
    stand = rounded_rect(5 * s, 13.25 * s, 11 * s, 14.75 * s, 0.5 * s)
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            colour = (0, 0, 0, 0)
            colour = blend(colour, (40, 44, 52), coverage(stand, x, y))
            colour = blend(colour, (40, 44, 52), coverage(frame, x, y))
            # The picture: a blue that lightens towards the top, as a lit screen.
            shade = 1 - y / size
            blue = (30 + 50 * shade, 90 + 70 * shade, 170 + 60 * shade)
            colour = blend(colour, blue, coverage(screen, x, y))
            colour = blend(colour, (250, 250, 250), coverage(play, x, y))
            colour = blend(colour, (70, 200, 90), coverage(light, x, y))
            row.append(tuple(int(round(c)) for c in colour[:3]) + (int(round(colour[3] * 255)),))
        pixels.append(row)
    return pixels


def bitmap_entry(size, pixels):
    """One icon image: a BITMAPINFOHEADER of twice the height, 32-bit BGRA rows bottom-up, then
    the 1-bit AND mask (all zero: the alpha channel says what is transparent)."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            rows += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytes(mask_stride * size)
    return header + bytes(rows) + mask


def icon(sizes):
    images = [bitmap_entry(size, draw(size)) for size in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    return bytes(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "Vuvereze.ico")
    with open(target, "wb") as f:
        f.write(icon(SIZES))


if __name__ == "__main__":
    main()
