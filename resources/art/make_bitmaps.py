#!/usr/bin/env python3
"""Draws the album window's bitmaps and writes them as 24-bit .bmp files.

- banner_134.bmp (440 x 70) and banner_166.bmp (503 x 80): plain grey panels
  with curved corners, for screens up to and above 100 dots per inch.
- face_NNN.bmp (32 x 32): the faces of the ten buttons, each a light panel
  lettered with the button's word, but for UpLoad's (141): an arrow pointing
  at a computer.

Run from this folder; the .bmp files it writes are committed beside it.
"""
import struct

from glyphs import GLYPHS

DIALOG_FACE = (240, 240, 240)   # r, g, b of the window behind the corners
PANEL = (150, 150, 150)
PANEL_EDGE = (110, 110, 110)
BUTTON_FACE = (214, 214, 214)
BUTTON_EDGE = (90, 90, 90)
LETTERS = (0, 0, 0)
CASING = (70, 70, 70)
SCREEN = (80, 150, 230)
ARROW = (0, 140, 0)


# Button face bitmaps and the lines of their words.
FACES = {
    140: ['SNAP'],
    143: ['SAVE'],
    144: ['DSC'],
    148: ['VIDEO'],
    152: ['FILTER'],
    157: ['DEL', 'LAST'],
    158: ['DEL', 'ALL'],
    160: ['CAP', 'PIN'],
    169: ['SIZE'],
}


def rounded_panel(width, height, radius):
    """Rows top-down of (r, g, b): a grey panel whose corners are quarter circles."""
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            # Distance from the nearest corner's centre, if the pixel lies in a corner square.
            cx = radius if x < radius else (width - 1 - radius if x >= width - radius else x)
            cy = radius if y < radius else (height - 1 - radius if y >= height - radius else y)
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if d > radius:
                colour = DIALOG_FACE
            elif d > radius - 2:
                colour = PANEL_EDGE
            elif x < 2 or y < 2 or x >= width - 2 or y >= height - 2:
                colour = PANEL_EDGE
            else:
                colour = PANEL
            row.append(colour)
        rows.append(row)
    return rows


def text_width(line, scale):
    return (len(line) * 4 - 1) * scale


def blank_face(size=32):
    """Rows top-down of (r, g, b): a light face in a dark frame."""
    rows = [[BUTTON_FACE] * size for _ in range(size)]
    for i in range(size):
        rows[0][i] = rows[size - 1][i] = rows[i][0] = rows[i][size - 1] = BUTTON_EDGE
    return rows


def fill(rows, left, top, right, bottom, colour):
    """Fills the rectangle, right and bottom edges included."""
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            rows[y][x] = colour


def upload_face():
    """Rows top-down of (r, g, b): an arrow pointing from the left at a computer."""
    rows = blank_face()
    # The monitor with its blue screen, on a neck and a foot; a keyboard before it.
    fill(rows, 13, 5, 29, 20, CASING)
    fill(rows, 15, 7, 27, 18, SCREEN)
    fill(rows, 20, 21, 22, 22, CASING)
    fill(rows, 16, 23, 26, 24, CASING)
    fill(rows, 12, 26, 29, 28, CASING)
    # The arrow: a shaft and a head whose tip touches the monitor.
    tip_x, mid_y = 12, 12
    fill(rows, 2, mid_y - 1, 6, mid_y + 1, ARROW)
    for x in range(7, tip_x + 1):
        half = tip_x - x
        fill(rows, x, mid_y - half, x, mid_y + half, ARROW)
    return rows


def lettered_face(lines, size=32):
    """Rows top-down of (r, g, b): a framed light face with the lines centred on it."""
    rows = blank_face(size)
    scale = 2 if all(text_width(line, 2) <= size - 2 for line in lines) else 1
    line_height = 5 * scale
    gap = 2 * scale
    total = len(lines) * line_height + (len(lines) - 1) * gap
    top = (size - total) // 2
    for n, line in enumerate(lines):
        left = (size - text_width(line, scale)) // 2
        y0 = top + n * (line_height + gap)
        for c, letter in enumerate(line):
            x0 = left + c * 4 * scale
            for gy, cells in enumerate(GLYPHS[letter]):
                for gx, cell in enumerate(cells):
                    if cell != '#':
                        continue
                    for dy in range(scale):
                        for dx in range(scale):
                            rows[y0 + gy * scale + dy][x0 + gx * scale + dx] = LETTERS
    return rows


def write_bmp(path, rows):
    """Writes rows top-down of (r, g, b) as a bottom-up 24-bit BMP."""
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) // 4 * 4
    pixels = b''
    for row in reversed(rows):
        line = b''.join(bytes((b, g, r)) for (r, g, b) in row)
        pixels += line + bytes(stride - len(line))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2834, 2834, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, 'wb') as f:
        f.write(header + info + pixels)


if __name__ == '__main__':
    write_bmp('banner_134.bmp', rounded_panel(440, 70, 12))
    write_bmp('banner_166.bmp', rounded_panel(503, 80, 14))
    for number, lines in FACES.items():
        write_bmp('face_%d.bmp' % number, lettered_face(lines))
    write_bmp('face_141.bmp', upload_face())
