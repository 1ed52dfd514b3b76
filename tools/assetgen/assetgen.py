#!/usr/bin/env python3
"""Draws the game's artwork and synthesises its sounds, and writes the asset files.

    python3 tools/assetgen/assetgen.py OUTPUT_DIR

The outputs are committed in assets/; a test regenerates them into a temporary folder and
compares them byte for byte, so the generator and the files never drift apart. Nothing here
depends on the time, the machine or a random seed that is not fixed.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import cursors  # noqa: E402
import desktop  # noqa: E402
import formats  # noqa: E402
import icons  # noqa: E402
import sounds  # noqa: E402
import sprites  # noqa: E402


def assets():
    """File name -> bytes for every asset."""
    raised_pixels, raised_opaque = cursors.raised()
    struck_pixels, struck_opaque = cursors.struck()
    return {
        'sprites.bmp': formats.bmp8(16 * sprites.CELL, sprites.CELL, sprites.PALETTE,
                                    sprites.sheet()),
        'mole.ico': formats.ico(icons.images()),
        'hammer_raised.cur': formats.cur(raised_pixels, raised_opaque, cursors.RAISED_HOTSPOT),
        'hammer_struck.cur': formats.cur(struck_pixels, struck_opaque, cursors.STRUCK_HOTSPOT),
        'swing.wav': formats.wav8(sounds.SWING_RATE, sounds.swing()),
        'hit.wav': formats.wav8(sounds.HIT_RATE, sounds.hit()),
        'default_desktop.png': formats.png_rgb(desktop.WIDTH, desktop.HEIGHT, desktop.picture()),
    }


def main(argv):
    if len(argv) != 2:
        print('usage: assetgen.py OUTPUT_DIR', file=sys.stderr)
        return 2
    os.makedirs(argv[1], exist_ok=True)
    for name, data in assets().items():
        with open(os.path.join(argv[1], name), 'wb') as out:
            out.write(data)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
