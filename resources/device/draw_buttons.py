#!/usr/bin/env python3
"""Draws the viewer's button images and its icon.

    draw_buttons.py OUTDIR

Writes seven 24 x 24 bitmaps with a 256-colour palette on black, the colour the viewer
draws transparent (so no image uses pure black inside), and glimmora.ico (32 x 32 and
16 x 16). Edges are hard: a soft edge would blend towards black and show as a dark fringe
over the picture instead of vanishing.
"""
import math
import os
import struct
import sys

SIZE = 24
CENTRE = 11.5
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
DARK = (40, 40, 40)

GREEN = {"ring": (0, 110, 0), "fill": (0, 170, 40), "shine": (90, 210, 110)}
RED = {"ring": (130, 0, 0), "fill": (210, 30, 30), "shine": (240, 120, 120)}
GREY = {"ring": (90, 90, 90), "fill": (150, 150, 150), "shine": (200, 200, 200)}


def disc(colours):
    """A round button: darker ring, fill, a highlight towards the top left."""
    img = [[BLACK] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            r = math.hypot(x - CENTRE, y - CENTRE)
            if r <= 11.2:
                img[y][x] = colours["ring"]
            if r <= 9.6:
                img[y][x] = colours["fill"]
            if math.hypot(x - 8.5, y - 7.5) <= 3.2 and r <= 9.6:
                img[y][x] = colours["shine"]
    return img


def arrow(img, pointing_left, colour=WHITE):
    for y in range(SIZE):
        for x in range(SIZE):
            u = x if pointing_left else SIZE - 1 - x
            # Head: a triangle from its tip at u = 5 to its base at u = 12.
            head = 5 <= u <= 12 and abs(y - CENTRE) <= (u - 5) * 0.85 + 0.5
            shaft = 12 <= u <= 18 and 9.5 <= y <= 13.5
            if head or shaft:
                img[y][x] = colour
    return img


def cross(img):
    for y in range(SIZE):
        for x in range(SIZE):
            if 6.5 <= x <= 16.5 and 6.5 <= y <= 16.5:
                if abs(x - y) <= 1.2 or abs(x + y - 23) <= 1.2:
                    img[y][x] = WHITE
    return img


def clock(colours, face):
    """A clock face inside a circular arrow that runs most of the way round."""
    img = [[BLACK] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            dx, dy = x - CENTRE, y - CENTRE
            r = math.hypot(dx, dy)
            angle = math.degrees(math.atan2(dx, -dy)) % 360  # 0 at the top, clockwise
            if 9.0 <= r <= 11.5 and 40 <= angle <= 340:
                img[y][x] = colours["fill"]
            if r <= 7.6:
                img[y][x] = face
            if 7.6 < r <= 8.4:
                img[y][x] = colours["ring"]
    # The arrow's head at the gap, pointing clockwise.
    for y in range(SIZE):
        for x in range(SIZE):
            if 0 <= y <= 6 and 13 <= x <= 19 and (x - 13) >= abs(y - 3) * 1.2 - 0.5:
                img[y][x] = colours["fill"]
    for y in range(5, 12):
        img[y][11] = DARK
        img[y][12] = DARK
    for x in range(12, 17):
        img[11][x] = DARK
        img[12][x] = DARK
    return img


def write_bmp8(path, img):
    colours = []
    for row in img:
        for c in row:
            if c not in colours:
                colours.append(c)
    if BLACK in colours:
        colours.remove(BLACK)
    colours.insert(0, BLACK)
    assert len(colours) <= 256
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in colours)
    palette += b"\0" * (4 * (256 - len(colours)))
    rows = b"".join(bytes(colours.index(c) for c in img[y]) for y in reversed(range(SIZE)))
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
    with open(path, "wb") as f:
        f.write(header + info + palette + rows)


def icon_pixels(n):
    """A small picture frame: amber border, sky, a green hill and a sun."""
    px = []
    for y in range(n):
        row = []
        for x in range(n):
            u, v = x / n, y / n
            if u < 0.1 or u > 0.9 or v < 0.1 or v > 0.9:
                c = (255, 205, 105)
            elif (u - 0.5) ** 2 * 2 + (v - 0.95) ** 2 < 0.12:
                c = (40, 150, 50)
            elif math.hypot(u - 0.7, v - 0.32) < 0.1:
                c = (255, 240, 120)
            else:
                c = (90, 150, 230)
            row.append(c)
        px.append(row)
    return px


def icon_image(n):
    px = icon_pixels(n)
    xor = b"".join(struct.pack("<BBBB", b, g, r, 255) for y in reversed(range(n))
                   for (r, g, b) in px[y])
    mask_row = ((n + 31) // 32) * 4
    and_mask = b"\0" * (mask_row * n)
    info = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return info + xor + and_mask


def write_ico(path, sizes):
    images = [icon_image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    images = {
        "previous.bmp": arrow(disc(GREEN), True),
        "previous_grey.bmp": arrow(disc(GREY), True),
        "next.bmp": arrow(disc(GREEN), False),
        "next_grey.bmp": arrow(disc(GREY), False),
        "close.bmp": cross(disc(RED)),
        "slideshow.bmp": clock(GREEN, WHITE),
        "slideshow_grey.bmp": clock(GREY, (220, 220, 220)),
    }
    for name, img in images.items():
        write_bmp8(os.path.join(out, name), img)
    write_ico(os.path.join(out, "glimmora.ico"), [32, 16])


if __name__ == "__main__":
    main()
