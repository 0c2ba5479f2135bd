#!/usr/bin/env python3
"""Draws the folder picker's two tree images (a closed folder, and a folder marked with a
star for the selected item) side by side into one 24-bit BMP strip, on pure green, which the
picker's image list treats as transparent.

    draw_folder_images.py SIZE OUT.bmp     SIZE 16 gives a 32 x 16 strip, 32 a 64 x 32 strip

The shapes are drawn in unit coordinates and sampled at 4 x 4 points per pixel, so both
sizes come from one drawing.
"""
import math
import struct
import sys

GREEN = (0, 255, 0)  # the transparent colour
OUTLINE = (96, 64, 0)
FOLDER = (240, 200, 64)
FOLDER_BACK = (200, 160, 40)
STAR = (208, 32, 32)


def in_rect(x, y, left, top, right, bottom):
    return left <= x <= right and top <= y <= bottom


def star_points(cx, cy, outer, inner):
    points = []
    for i in range(10):
        radius = outer if i % 2 == 0 else inner
        angle = -math.pi / 2 + i * math.pi / 5
        points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    return points


def in_polygon(x, y, points):
    inside = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


STAR_SHAPE = star_points(0.64, 0.60, 0.27, 0.11)


def shade(x, y, starred):
    """The colour of the unit-square point (x, y), or None for the background."""
    if starred and in_polygon(x, y, STAR_SHAPE):
        return STAR
    if in_rect(x, y, 0.06, 0.30, 0.94, 0.86):
        return FOLDER
    if in_rect(x, y, 0.06, 0.16, 0.44, 0.32):
        return FOLDER_BACK
    return None


def draw(size, starred):
    samples = 4
    cover = [[None] * size for _ in range(size)]
    for py in range(size):
        for px in range(size):
            colours = []
            for sy in range(samples):
                for sx in range(samples):
                    colours.append(shade((px + (sx + 0.5) / samples) / size,
                                         (py + (sy + 0.5) / samples) / size, starred))
            filled = [c for c in colours if c is not None]
            # A pixel belongs to the shape when most of it is covered; no blending with the
            # green, which would leave greenish fringes where the mask does not reach.
            if len(filled) * 2 >= len(colours):
                cover[py][px] = max(set(filled), key=filled.count)
    image = [[GREEN] * size for _ in range(size)]
    for py in range(size):
        for px in range(size):
            colour = cover[py][px]
            if colour is None:
                continue
            edge = any(not (0 <= px + dx < size and 0 <= py + dy < size) or
                       cover[py + dy][px + dx] is None
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            image[py][px] = OUTLINE if edge and colour != STAR else colour
    return image


def write_bmp(path, rows):
    height = len(rows)
    width = len(rows[0])
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
    with open(path, "wb") as out:
        out.write(header + info + pixels)


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("16", "32"):
        sys.exit("usage: draw_folder_images.py 16|32 OUT.bmp")
    size = int(sys.argv[1])
    closed = draw(size, False)
    starred = draw(size, True)
    write_bmp(sys.argv[2], [closed[y] + starred[y] for y in range(size)])


if __name__ == "__main__":
    main()
