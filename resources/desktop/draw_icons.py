#!/usr/bin/env python3
"""Draws Dockhaven's icons and button glyphs as .ico files (16-colour, 16 x 16; the main icon
also 32 x 32), with nothing but the standard library, so that the pictures are ours and can
be drawn again byte for byte:

    python3 resources/desktop/draw_icons.py OUT_DIR

Pictures are written as rows of palette letters (see PALETTE); '.' is transparent."""
import os
import struct
import sys

# The standard 16-colour palette, with a letter for each entry.
PALETTE = [
    ('k', (0, 0, 0)), ('r', (128, 0, 0)), ('g', (0, 128, 0)), ('o', (128, 128, 0)),
    ('n', (0, 0, 128)), ('p', (128, 0, 128)), ('t', (0, 128, 128)), ('s', (192, 192, 192)),
    ('d', (128, 128, 128)), ('R', (255, 0, 0)), ('G', (0, 255, 0)), ('Y', (255, 255, 0)),
    ('B', (0, 0, 255)), ('M', (255, 0, 255)), ('C', (0, 255, 255)), ('w', (255, 255, 255)),
]
INDEX = {letter: i for i, (letter, _) in enumerate(PALETTE)}


def handheld(screen, badge=False):
    """A handheld seen from the front: grey case, screen rows given by `screen` (8 x 9)."""
    rows = [
        '...dddddddddd...',
        '..dsssssssssskd.',
        '..dskkkkkkkksk..',
    ]
    for line in screen:
        rows.append('..dsk' + line + 'sk..')
    rows += [
        '..dskkkkkkkksk..',
        '..dssssdssssk...',
        '...kkkkkkkkk....',
    ]
    rows = [r[:16].ljust(16, '.') for r in rows][:16]
    while len(rows) < 16:
        rows.append('.' * 16)
    if badge:  # a round grey stop sign at the lower right
        stop = ['..dddd', '.dsssd', 'dswwsd', 'dswwsd', '.dsssd', '..dddd']
        for y, line in enumerate(stop):
            row = list(rows[10 + y])
            for x, c in enumerate(line):
                if c != '.':
                    row[10 + x] = c
            rows[10 + y] = ''.join(row)
    return rows


DARK = ['nnnnnnn'] * 9
PICTURE = ['CCCCCCC', 'CCYYCCC', 'CCYYCCC', 'CCCCCCC', 'CCCCGCC', 'CCCGGGC', 'CGGGGGG',
           'GGoGGGG', 'gggggoo']
IDLE = ['ddddddd'] * 9

FOLDER = [
    '................',
    '................',
    '.kkkkk..........',
    'kYYYYYk.........',
    'kYwYYYYkkkkkkk..',
    'kYwYYYYYYYYYYYk.',
    'kYwYYYYYYYYYYYk.',
    'kYwYYYYYYYYYYYk.',
    'kYwYYYYYYYYYYYk.',
    'kYwYYYYYYYYYYYk.',
    'kYwYYYYYYYYYYYk.',
    'kYwYYYYYYYYYYYk.',
    'koooooooooooook.',
    '.kkkkkkkkkkkkk..',
    '................',
    '................',
]

# Change: a folder with a green arrow bending into it.
CHANGE = [
    '..........GG....',
    '.........GGGG...',
    '........GG.GG...',
    '..........GG....',
    '.kkkkk...GG.....',
    'kYYYYYk.GG......',
    'kYwYYYYkkkkkkk..',
    'kYwYYYYYYYYYYYk.',
    'kYwYYYYYYYYYYYk.',
    'kYwYYYYYYYYYYYk.',
    'kYwYYYYYYYYYYYk.',
    'kYwYYYYYYYYYYYk.',
    'kYwYYYYYYYYYYYk.',
    'koooooooooooook.',
    '.kkkkkkkkkkkkk..',
    '................',
]

# Browse: an open folder with a magnifying glass.
BROWSE = [
    '................',
    '.kkkkk..........',
    'kYYYYYk.........',
    'kYwYYYYkkkkkk...',
    'kYwYYYYYYYYYk...',
    'kYwYkkkkkkkkkkk.',
    'kYwkYYYYYYYYYYk.',
    'kYkYYYYYkkkYYk..',
    'kkYYYYYkCCCkYk..',
    'kYYYYYYkCwCkk...',
    'koooookkCCCkk...',
    '.kkkkkkkkkkkdk..',
    '............ddk.',
    '.............ddk',
    '..............dd',
    '................',
]


def scale2(rows):
    out = []
    for r in rows:
        wide = ''.join(c * 2 for c in r)
        out += [wide, wide]
    return out


def dib(rows):
    """One icon image: header, palette, 4-bit colour rows and the 1-bit mask, bottom-up."""
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for _, (r, g, b) in PALETTE)
    colour = b''
    mask = b''
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        nibbles = [INDEX['k'] if c == '.' else INDEX[c] for c in row]
        line = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        colour += line.ljust(((size * 4 + 31) // 32) * 4, b'\0')
        mline = bytearray(mask_stride)
        for x, c in enumerate(row):
            if c == '.':
                mline[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(mline)
    return header + palette + colour + mask


def ico(images):
    count = len(images)
    out = struct.pack('<HHH', 0, 1, count)
    offset = 6 + 16 * count
    blobs = []
    for rows in images:
        blob = dib(rows)
        size = len(rows)
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b''.join(blobs)


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: draw_icons.py OUT_DIR')
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    icons = {
        'state_idle.ico': [handheld(IDLE, badge=True)],
        'state_running.ico': [handheld(DARK)],
        'state_transfer.ico': [handheld(PICTURE)],
        'main.ico': [scale2(handheld(PICTURE)), handheld(PICTURE)],
        'folder.ico': [FOLDER],
        'glyph_change.ico': [CHANGE],
        'glyph_browse.ico': [BROWSE],
    }
    for name, images in icons.items():
        for rows in images:
            assert all(len(r) == len(rows) for r in rows), name
        with open(os.path.join(out, name), 'wb') as f:
            f.write(ico(images))


if __name__ == '__main__':
    main()
