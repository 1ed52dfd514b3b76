"""The two hammer cursors, 32 x 32 monochrome: white wood and steel with a black outline.

Raised: the head stands at the left with the handle reaching right; its hotspot (6, 16) is in
the head near the left edge. Struck: the head lies along the top with the handle reaching down to
the left; its hotspot (29, 3) is in the striking end of the head near the top edge.
"""

from raster import Canvas, border, polygon, rect

SIZE = 32
RAISED_HOTSPOT = (6, 16)
STRUCK_HOTSPOT = (29, 3)


def _hammer(head, handle, bands):
    c = Canvas(SIZE, SIZE)
    shape = head | handle
    c.paint(shape, 1)
    c.paint(border(shape) | bands, 0)
    return c.pixels, c.opaque()


def raised():
    head = rect(1, 7, 12, 25)
    handle = polygon([(12, 14), (12, 19), (30, 27), (31, 23)])
    # Steel bands across the head, so the block reads as a hammer head and not a box.
    bands = {(x, 10) for x in range(1, 13)} | {(x, 22) for x in range(1, 13)}
    return _hammer(head, handle, bands)


def struck():
    head = rect(15, 0, 31, 9)
    handle = polygon([(20, 9), (25, 9), (6, 31), (1, 28)])
    bands = {(18, y) for y in range(0, 10)} | {(28, y) for y in range(0, 10)}
    return _hammer(head, handle, bands)
