#!/usr/bin/env python3
"""Draws the album's three type icons and writes them as constant tables.

Each icon is 60 x 64 pixels, 24 bits per pixel, rows bottom-up of 180 bytes
(blue, green, red), on black:
- JPG: a page with a framed picture and a brush,
- AVI: a page with a video camera,
- WAV: a page with a loudspeaker.
Each page carries its type's letters at its foot.

The build runs it: make_type_icons.py OUTPUT writes the tables to OUTPUT.
"""
import math
import sys

from glyphs import GLYPHS

WIDTH, HEIGHT = 60, 64
BLACK = (0, 0, 0)
PAGE = (250, 250, 245)
PAGE_EDGE = (150, 150, 150)
FOLD = (205, 205, 200)
INK = (40, 40, 40)


class Canvas:
    def __init__(self):
        self.rows = [[BLACK] * WIDTH for _ in range(HEIGHT)]

    def put(self, x, y, colour):
        if 0 <= x < WIDTH and 0 <= y < HEIGHT:
            self.rows[y][x] = colour

    def box(self, left, top, right, bottom, colour):
        """Fills the rectangle, right and bottom edges included."""
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                self.put(x, y, colour)

    def frame(self, left, top, right, bottom, colour, thickness=1):
        for t in range(thickness):
            for x in range(left + t, right - t + 1):
                self.put(x, top + t, colour)
                self.put(x, bottom - t, colour)
            for y in range(top + t, bottom - t + 1):
                self.put(left + t, y, colour)
                self.put(right - t, y, colour)

    def disc(self, cx, cy, radius, colour):
        for y in range(cy - radius, cy + radius + 1):
            for x in range(cx - radius, cx + radius + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius + radius:
                    self.put(x, y, colour)

    def line(self, x0, y0, x1, y1, colour, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i / steps
            y = y0 + (y1 - y0) * i / steps
            for dy in range(width):
                for dx in range(width):
                    self.put(round(x) + dx, round(y) + dy, colour)

    def arc(self, cx, cy, radius, start, end, colour, width=2):
        for step in range(0, 200):
            angle = math.radians(start + (end - start) * step / 199)
            for w in range(width):
                self.put(round(cx + (radius + w) * math.cos(angle)),
                         round(cy - (radius + w) * math.sin(angle)), colour)

    def text(self, word, left, top, scale, colour):
        for letter in word:
            for row, cells in enumerate(GLYPHS[letter]):
                for column, cell in enumerate(cells):
                    if cell == '#':
                        x = left + column * scale
                        self.box(x, top + row * scale, x + scale - 1,
                                 top + row * scale + scale - 1, colour)
            left += (len(GLYPHS[letter][0]) + 1) * scale


def text_width(word, scale):
    return (sum(len(GLYPHS[letter][0]) + 1 for letter in word) - 1) * scale


PAGE_LEFT, PAGE_TOP, PAGE_RIGHT, PAGE_BOTTOM = 7, 1, 52, 62
FOLD_SIZE = 11


def page(canvas, word):
    """A sheet with its top right corner folded down, lettered at its foot."""
    for y in range(PAGE_TOP, PAGE_BOTTOM + 1):
        for x in range(PAGE_LEFT, PAGE_RIGHT + 1):
            if x - (PAGE_RIGHT - FOLD_SIZE) > y - PAGE_TOP:
                continue
            edge = (x in (PAGE_LEFT, PAGE_RIGHT) or y in (PAGE_TOP, PAGE_BOTTOM)
                    or x - (PAGE_RIGHT - FOLD_SIZE) == y - PAGE_TOP)
            canvas.put(x, y, PAGE_EDGE if edge else PAGE)
    for y in range(PAGE_TOP, PAGE_TOP + FOLD_SIZE + 1):
        for x in range(PAGE_RIGHT - FOLD_SIZE, PAGE_RIGHT - FOLD_SIZE + (y - PAGE_TOP) + 1):
            edge = x == PAGE_RIGHT - FOLD_SIZE or y == PAGE_TOP + FOLD_SIZE
            canvas.put(x, y, PAGE_EDGE if edge else FOLD)
    scale = 2
    width = text_width(word, scale)
    canvas.text(word, (PAGE_LEFT + PAGE_RIGHT + 1 - width) // 2, 49, scale, INK)


def jpg_icon():
    canvas = Canvas()
    page(canvas, 'JPG')
    # The picture: sky, sun, two hills, in a gilt frame.
    canvas.box(13, 14, 38, 38, (120, 190, 245))
    canvas.disc(32, 20, 3, (255, 215, 40))
    for x in range(13, 39):
        hill = 31 - round(6 * math.sin((x - 13) / 25 * math.pi))
        for y in range(hill, 39):
            canvas.put(x, y, (60, 160, 60))
    canvas.frame(11, 12, 40, 40, (170, 120, 40), 2)
    # The brush: a wooden handle, a metal band and a red tip.
    canvas.line(47, 17, 39, 33, (140, 90, 40), 3)
    canvas.line(38, 34, 37, 36, (170, 170, 180), 3)
    canvas.line(36, 37, 34, 41, (220, 30, 30), 3)
    return canvas


def avi_icon():
    canvas = Canvas()
    page(canvas, 'AVI')
    body = (70, 70, 80)
    # Two film reels on top of the body.
    for cx in (18, 30):
        canvas.disc(cx, 21, 5, body)
        canvas.disc(cx, 21, 1, PAGE)
    canvas.box(12, 27, 36, 42, body)
    # The lens: a funnel opening to the right.
    for x in range(37, 47):
        half = 3 + (x - 37) * 5 // 9
        canvas.box(x, 34 - half, x, 34 + half, body)
    canvas.disc(16, 31, 1, (230, 30, 30))
    return canvas


def wav_icon():
    canvas = Canvas()
    page(canvas, 'WAV')
    speaker = (60, 60, 70)
    canvas.box(13, 27, 19, 39, speaker)
    # The cone widens to the right.
    for x in range(20, 30):
        half = 6 + (x - 20)
        canvas.box(x, 33 - half, x, 33 + half, speaker)
    waves = (40, 90, 210)
    for radius in (6, 11, 16):
        canvas.arc(29, 33, radius, -40, 40, waves)
    return canvas


def bottom_up_bytes(canvas):
    data = bytearray()
    for row in reversed(canvas.rows):
        for r, g, b in row:
            data += bytes((b, g, r))
    assert len(data) == WIDTH * HEIGHT * 3
    return data


def table(name, data):
    lines = ['const unsigned char %s[kTypeIconBytes] = {' % name]
    for start in range(0, len(data), 20):
        lines.append('    ' + ' '.join('0x%02X,' % b for b in data[start:start + 20]))
    lines.append('};')
    return '\n'.join(lines)


def main(output_path):
    parts = [
        '// The album\'s type icons: 60 x 64 pixels, 24 bits, rows bottom-up.',
        '// Written by resources/art/make_type_icons.py; edit the script, not this file.',
        '#include "album/type_icons.h"',
        '',
        table('kJpgIcon', bottom_up_bytes(jpg_icon())),
        '',
        table('kAviIcon', bottom_up_bytes(avi_icon())),
        '',
        table('kWavIcon', bottom_up_bytes(wav_icon())),
        '',
    ]
    with open(output_path, 'w', newline='\n') as output:
        output.write('\n'.join(parts))


if __name__ == '__main__':
    main(sys.argv[1])
