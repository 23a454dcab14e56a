#!/usr/bin/env python3
"""Draws the source's icons (a small camera) and writes them as .ico files.

Run from this folder; the .ico files it writes are committed beside it.
"""
import struct


def camera_pixels(size):
    """Rows top-down of (b, g, r, a) for a camera drawn on a size x size grid."""
    s = size / 32.0
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            fx, fy = x / s, y / s
            colour = (0, 0, 0, 0)
            if 3 <= fx < 29 and 9 <= fy < 27:
                colour = (60, 60, 60, 255)          # body
            if 10 <= fx < 17 and 6 <= fy < 9:
                colour = (60, 60, 60, 255)          # viewfinder hump
            if 22 <= fx < 27 and 11 <= fy < 14:
                colour = (40, 200, 255, 255)        # flash
            d = ((fx - 16) ** 2 + (fy - 18) ** 2) ** 0.5
            if d < 7:
                colour = (200, 200, 200, 255)       # lens ring
            if d < 5:
                colour = (140, 60, 20, 255)         # glass
            if d < 2 and fx < 16 and fy < 18:
                colour = (255, 230, 200, 255)       # highlight
            row.append(colour)
        rows.append(row)
    return rows


def icon_image(size):
    rows = camera_pixels(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes(p) for row in reversed(rows) for p in row)
    mask_row = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(rows):
        line = bytearray(mask_row)
        for x, p in enumerate(row):
            if p[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(line)
    return header + xor + mask


def write_icon(path, sizes):
    images = [icon_image(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    write_icon('camera.ico', [32, 16])
