"""The window icon: a mole's head rising from its hole, in a 256-colour and a 16-colour version.

The 256-colour image has red eyes and the word MOLE arched over the head; the 16-colour image,
used where the icon is small, keeps only the olive head with black-and-white eyes and the hole.
"""

import font
from raster import Canvas, border, ellipse, rect, ring_around

SIZE = 32

# The sixteen colours of the standard VGA palette, which every display can show.
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, OLIVE, SILVER, GREY, YELLOW, WHITE, MAROON = 0, 3, 7, 8, 11, 15, 1

RICH = [
    (0, 0, 0),  # unused black: the AND mask makes the background transparent
    (70, 40, 20),  # 1 earth outline
    (150, 98, 52),  # 2 earth
    (186, 134, 80),  # 3 earth light
    (40, 22, 12),  # 4 opening
    (44, 48, 14),  # 5 mole outline
    (132, 140, 54),  # 6 olive
    (172, 180, 88),  # 7 olive light
    (214, 204, 148),  # 8 muzzle
    (225, 30, 30),  # 9 red
    (120, 10, 16),  # 10 dark red
    (255, 255, 255),  # 11 white
    (184, 70, 92),  # 12 nose
]


def _hole(c, cy, rx, outline, earth, light, opening_colour):
    mound = ellipse(15.5, cy, rx, 4.5)
    opening = ellipse(15.5, cy - 1, rx - 5, 2)
    c.paint(mound, earth)
    if light is not None:
        c.paint({(x, y) for (x, y) in mound if (x + 2, y + 2) not in mound}, light)
    c.paint(border(mound), outline)
    c.paint(opening, opening_colour)
    return mound, opening


def _head(c, top, cy_hole, opening, outline, olive, light, clip_rows):
    head = ellipse(15.5, top + 9, 9, 9) | rect(7, top + 9, 24, int(cy_hole) + 2)
    visible = {(x, y) for x in range(SIZE) for y in range(clip_rows)} | opening
    c.paint(head, olive, visible)
    c.paint(border(head), outline, visible)
    c.paint({(11, top + 3), (12, top + 3), (10, top + 4), (11, top + 4)}, light)  # shine
    return visible


def rich_icon():
    c = Canvas(SIZE, SIZE)
    mound, opening = _hole(c, 27, 15.5, 1, 2, 3, 4)
    visible = _head(c, 10, 27, opening, 5, 6, 7, 27)
    c.paint(ellipse(15.5, 23, 5, 3), 8, visible)  # muzzle
    for ex in (11, 19):
        c.paint(rect(ex, 16, ex + 1, 18), 9)
        c.paint({(ex, 16)}, 11)
    c.paint(rect(14, 20, 17, 21), 12)
    c.paint(ring_around(opening) & mound - opening, 1)
    # The caption, its letters stepped to follow an arch over the head.
    for i, (ch, dy) in enumerate(zip('MOLE', (3, 1, 1, 3))):
        glyph = {(x + 4 + 6 * i, y + dy) for (x, y) in font.glyph(ch)}
        c.paint(glyph, 9)
    return (8, RICH, c.pixels, c.opaque())


def plain_icon():
    c = Canvas(SIZE, SIZE)
    mound, opening = _hole(c, 26.5, 15.5, BLACK, OLIVE, None, BLACK)
    _head(c, 7, 26.5, opening, BLACK, OLIVE, YELLOW, 26)
    for ex in (10, 18):
        c.paint(rect(ex, 13, ex + 3, 17), WHITE)
        c.paint(rect(ex + 1, 14, ex + 2, 16), BLACK)
    c.paint(rect(14, 20, 17, 21), BLACK)
    c.paint(ring_around(opening) & mound - opening, BLACK)
    return (4, VGA16, c.pixels, c.opaque())


def images():
    """The icon file's images, the 16-colour one first."""
    return [plain_icon(), rich_icon()]
