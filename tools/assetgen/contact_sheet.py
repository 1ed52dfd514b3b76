"""Renders the committed sprite frames, icons and cursors enlarged into one PNG for review.

    python3 tools/assetgen/contact_sheet.py [--assets DIR] OUTPUT.png

It reads the asset files themselves (not the generator's drawing code), so what it shows is what
the program embeds. Transparent pixels are shown as a grey checkerboard, so a stray pure-black
pixel inside a sprite shows up as a hole.
"""

import argparse
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import formats  # noqa: E402
import font  # noqa: E402

SCALE = 4
ICON_SCALE = 6
GAP = 16
LABEL = (230, 230, 230)
BACKDROP = (40, 44, 52)


def _checker(x, y):
    return (150, 150, 150) if ((x // 8) + (y // 8)) % 2 else (190, 190, 190)


def read_bmp8(data):
    offset, = struct.unpack_from('<I', data, 10)
    width, height, _, bits = struct.unpack_from('<iiHH', data, 18)
    assert bits == 8
    palette = [(data[54 + 4 * i + 2], data[54 + 4 * i + 1], data[54 + 4 * i]) for i in range(256)]
    rows = []
    for y in range(height):
        start = offset + (height - 1 - y) * width
        rows.append(list(data[start:start + width]))
    return palette, rows


def read_icon_images(data):
    """(pixels as RGB or None for transparent, hotspot or None) for each image of an ICO/CUR."""
    _, kind, count = struct.unpack_from('<HHH', data, 0)
    images = []
    for i in range(count):
        w, h, _, _, a, b, _, offset = struct.unpack_from('<BBBBHHII', data, 6 + 16 * i)
        _, width, height2, _, bits = struct.unpack_from('<IiiHH', data, offset)
        height = height2 // 2
        colours = 1 << bits
        pal_at = offset + 40
        palette = [(data[pal_at + 4 * k + 2], data[pal_at + 4 * k + 1], data[pal_at + 4 * k])
                   for k in range(colours)]
        xor_at = pal_at + 4 * colours
        xor_stride = ((width * bits + 31) // 32) * 4
        and_at = xor_at + xor_stride * height
        and_stride = ((width + 31) // 32) * 4
        pixels = []
        for y in range(height):
            row = []
            xr = xor_at + (height - 1 - y) * xor_stride
            ar = and_at + (height - 1 - y) * and_stride
            for x in range(width):
                bit_pos = x * bits
                byte = data[xr + bit_pos // 8]
                index = (byte >> (8 - bits - bit_pos % 8)) & (colours - 1)
                transparent = (data[ar + x // 8] >> (7 - x % 8)) & 1
                if transparent and index == 0:
                    row.append(None)
                elif transparent:
                    row.append('invert')
                else:
                    row.append(palette[index])
            pixels.append(row)
        images.append((pixels, (a, b) if kind == 2 else None))
    return images


class Image:
    def __init__(self, width, height, colour):
        self.width = width
        self.height = height
        self.rows = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = colour

    def block(self, x, y, size, colour):
        for dy in range(size):
            for dx in range(size):
                self.put(x + dx, y + dy, colour)

    def text(self, x, y, s, colour, scale=2):
        for gx, gy in font.pixels(s):
            self.block(x + gx * scale, y + gy * scale, scale, colour)

    def png(self):
        return formats.png_rgb(self.width, self.height,
                               [bytes(v for p in row for v in p) for row in self.rows])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--assets', default=os.path.join(os.path.dirname(__file__), '..', '..',
                                                         'assets'))
    parser.add_argument('output')
    args = parser.parse_args()
    read = lambda name: open(os.path.join(args.assets, name), 'rb').read()

    palette, sheet = read_bmp8(read('sprites.bmp'))
    cell = 64 * SCALE
    per_row = 8
    label_h = 20
    frames_h = 2 * (cell + label_h + GAP)
    icons = read_icon_images(read('mole.ico'))
    cursors = read_icon_images(read('hammer_raised.cur')) + read_icon_images(
        read('hammer_struck.cur'))
    small = 32 * ICON_SCALE
    width = GAP + per_row * (cell + GAP)
    height = GAP + frames_h + small + label_h + 2 * GAP + 8
    img = Image(width, height, BACKDROP)

    for f in range(16):
        ox = GAP + (f % per_row) * (cell + GAP)
        oy = GAP + (f // per_row) * (cell + label_h + GAP)
        img.text(ox, oy, 'FRAME %d' % f, LABEL)
        oy += label_h
        for y in range(64):
            for x in range(64):
                index = sheet[y][64 * f + x]
                for dy in range(SCALE):
                    for dx in range(SCALE):
                        px, py = ox + x * SCALE + dx, oy + y * SCALE + dy
                        img.put(px, py, palette[index] if index else _checker(px, py))
        # Mark rows 55/56: the artwork must end above the red tick.
        for dx in range(6):
            img.put(ox - 8 + dx, oy + 56 * SCALE, (255, 60, 60))

    oy = GAP + frames_h
    labels = ['ICON 16', 'ICON 256', 'RAISED', 'STRUCK']
    for i, (pixels, hotspot) in enumerate(icons + cursors):
        ox = GAP + i * (small + 2 * GAP)
        img.text(ox, oy, labels[i] if i < len(labels) else '?', LABEL)
        for y in range(32):
            for x in range(32):
                p = pixels[y][x]
                for dy in range(ICON_SCALE):
                    for dx in range(ICON_SCALE):
                        px, py = ox + x * ICON_SCALE + dx, oy + label_h + y * ICON_SCALE + dy
                        if p is None:
                            colour = _checker(px, py)
                        elif p == 'invert':
                            colour = (255, 0, 255)
                        else:
                            colour = p
                        img.put(px, py, colour)
        if hotspot:
            hx, hy = hotspot
            for k in range(-3, ICON_SCALE + 3):
                img.put(ox + hx * ICON_SCALE + k, oy + label_h + hy * ICON_SCALE + 2, (255, 0, 0))
                img.put(ox + hx * ICON_SCALE + 2, oy + label_h + hy * ICON_SCALE + k, (255, 0, 0))

    with open(args.output, 'wb') as out:
        out.write(img.png())


if __name__ == '__main__':
    main()
