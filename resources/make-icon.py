#!/usr/bin/env python3
"""Draws the program's icon (resource 128) and writes every file it ships as.

The icon is ours, drawn here from a few shapes: a capture card's screen (a dark frame around a
blue picture) with a white play mark and a small green light for "signal locked". Each size is
drawn on its own pixel grid from the shapes, so small sizes stay sharp instead of being a
shrunken copy, and large ones (a desktop's 2x screen asks for twice the size) are no blown-up
small one. Only the standard library is used; the output is the same on every run.

Writes, into OUTPUT_DIR (default: the folder of this script):
  Vuvereze.ico                   the Windows icon: 16, 24, 32, 48 and 64 px as bitmaps, 256 px
                                 as PNG (as Windows keeps its large icons)
  icons/vuvereze-N.png           the desktop's sizes (hicolor), for the Linux program
  icons/vuvereze.svg             the same shapes as a scalable image

Usage: python3 resources/make-icon.py [OUTPUT_DIR]
"""
import os
import struct
import sys
import zlib

ICO_SIZES = (16, 24, 32, 48, 64, 256)
ICO_PNG_SIZES = (256,)
PNG_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def coverage(shape, x, y, samples=4):
    """How much of pixel (x, y) the shape covers, from samples x samples points in it."""
    inside, (left, top, right, bottom) = shape
    if x + 1 < left or x > right or y + 1 < top or y > bottom:
        return 0.0
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
    return inside, (left, top, right, bottom)


def triangle(a, b, c):
    def side(p, q, r):
        return (p[0] - r[0]) * (q[1] - r[1]) - (q[0] - r[0]) * (p[1] - r[1])

    def inside(px, py):
        p = (px, py)
        d1, d2, d3 = side(p, a, b), side(p, b, c), side(p, c, a)
        negative = d1 < 0 or d2 < 0 or d3 < 0
        positive = d1 > 0 or d2 > 0 or d3 > 0
        return not (negative and positive)
    xs, ys = (a[0], b[0], c[0]), (a[1], b[1], c[1])
    return inside, (min(xs), min(ys), max(xs), max(ys))


def circle(cx, cy, r):
    return (lambda px, py: (px - cx) ** 2 + (py - cy) ** 2 <= r * r), (cx - r, cy - r, cx + r, cy + r)


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


def png(size, pixels):
    """The image as a PNG: 8-bit RGBA, no filter, no time or text chunk, so the same pixels
    give the same bytes."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def icon(images):
    """The .ico file of the drawn images {size: pixels}."""
    entries = [png(size, images[size]) if size in ICO_PNG_SIZES else
               bitmap_entry(size, images[size]) for size in ICO_SIZES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for size, entry in zip(ICO_SIZES, entries):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(entry), offset)
        offset += len(entry)
    for entry in entries:
        out += entry
    return bytes(out)


def svg():
    """The shapes of draw() on their 16-unit grid, for desktops that scale the icon freely."""
    def rect(left, top, right, bottom, radius, fill):
        return ('  <rect x="%g" y="%g" width="%g" height="%g" rx="%g" fill="%s"/>\n'
                % (left, top, right - left, bottom - top, radius, fill))
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<!-- The program\'s icon, drawn by resources/make-icon.py: do not edit. -->\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
            'viewBox="0 0 16 16">\n'
            '  <defs>\n'
            '    <linearGradient id="picture" gradientUnits="userSpaceOnUse" '
            'x1="0" y1="0" x2="0" y2="16">\n'
            '      <stop offset="0" stop-color="#50a0e6"/>\n'
            '      <stop offset="1" stop-color="#1e5aaa"/>\n'
            '    </linearGradient>\n'
            '  </defs>\n' +
            rect(5, 13.25, 11, 14.75, 0.5, "#282c34") +
            rect(0.5, 2, 15.5, 13.5, 1.6, "#282c34") +
            rect(1.75, 3.25, 14.25, 12.25, 0.6, "url(#picture)") +
            '  <polygon points="6,5.25 6,10.25 10.5,7.75" fill="#fafafa"/>\n'
            '  <circle cx="13.2" cy="14.6" r="0.9" fill="#46c85a"/>\n'
            '</svg>\n')


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else here
    os.makedirs(os.path.join(target, "icons"), exist_ok=True)
    images = {size: draw(size) for size in sorted(set(ICO_SIZES) | set(PNG_SIZES))}
    with open(os.path.join(target, "Vuvereze.ico"), "wb") as f:
        f.write(icon(images))
    for size in PNG_SIZES:
        with open(os.path.join(target, "icons", "vuvereze-%d.png" % size), "wb") as f:
            f.write(png(size, images[size]))
    with open(os.path.join(target, "icons", "vuvereze.svg"), "w", newline="\n") as f:
        f.write(svg())


if __name__ == "__main__":
    main()
