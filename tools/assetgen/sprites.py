"""The sprite sheet: sixteen 64 x 64 frames of a mole in its hole, side by side.

Frame 0 is the empty hole, frames 1 to 13 the mole rising two rows a frame, frame 14 the mole at
full height with its paws on the rim, frame 15 the knocked-out mole with cap, crossed-out eyes and
a winged ring above its head. Pure black is the transparent background: no colour of the artwork
is pure black, so the game's mask keeps every drawn pixel.
"""

from raster import Canvas, border, ellipse, line, mirror, rect, ring_around

CELL = 64
FRAMES = 16

# The palette, in index order. Index 0 is the transparent background; the other 26 are the
# artwork's colours, all of them distinct from pure black.
PALETTE_NAMES = [
    ('background', (0, 0, 0)),
    ('earth_outline', (62, 36, 18)),
    ('earth_shadow', (112, 70, 36)),
    ('earth', (146, 96, 52)),
    ('earth_light', (180, 128, 76)),
    ('pebble', (206, 164, 114)),
    ('opening', (18, 46, 24)),
    ('opening_wall', (38, 78, 42)),
    ('mole_outline', (44, 48, 14)),
    ('olive_shadow', (96, 102, 34)),
    ('olive', (132, 140, 54)),
    ('olive_light', (168, 176, 84)),
    ('muzzle', (214, 204, 148)),
    ('eye_white', (248, 248, 240)),
    ('pupil', (22, 24, 44)),
    ('nose', (184, 70, 92)),
    ('nose_light', (240, 162, 176)),
    ('whisker', (70, 64, 54)),
    ('mouth', (104, 26, 32)),
    ('tongue', (228, 100, 116)),
    ('paw', (226, 164, 144)),
    ('claw', (252, 238, 214)),
    ('cap', (24, 138, 146)),
    ('cap_shadow', (10, 84, 94)),
    ('cap_light', (84, 194, 198)),
    ('halo', (255, 255, 255)),
    ('halo_shade', (150, 170, 200)),
]
PALETTE = [rgb for _, rgb in PALETTE_NAMES]
C = {name: index for index, (name, _) in enumerate(PALETTE_NAMES)}

# Geometry of the hole, shared by every frame.
MOUND = ellipse(31.5, 46.5, 32, 9)  # rows 38 to 55, full cell width
OPENING = ellipse(31.5, 44.5, 20, 4.5)  # rows 40 to 49
# The mole shows above the opening's centre line and inside the opening; below that the front
# rim of the mound hides it.
FRONT_RIM = {(x, y) for (x, y) in MOUND if y > 44 and (x, y) not in OPENING}


def _top_row(frame):
    """The head's top row: two rows higher each frame from 36 in frame 2 to 14 in frame 13.

    In frame 1 only the crown shows: one row lower keeps the eyes below the lip.
    """
    return 39 if frame == 1 else max(14, 40 - 2 * frame)


def _draw_mound(c):
    light = {(x, y) for (x, y) in MOUND if (x + 3, y + 2) not in MOUND}
    dark = {(x, y) for (x, y) in MOUND if (x - 4, y - 2) not in MOUND}
    c.paint(MOUND, C['earth'])
    c.paint(light, C['earth_light'])
    c.paint(dark, C['earth_shadow'])
    # A few pebbles and clods, placed by hand so that they look scattered.
    for x, y in [(6, 47), (11, 51), (19, 53), (45, 53), (54, 50), (58, 46), (9, 43), (50, 41)]:
        c.paint({(x, y), (x + 1, y)}, C['pebble'])
        c.paint({(x, y + 1), (x + 1, y + 1)}, C['earth_shadow'])
    c.paint(border(MOUND), C['earth_outline'])
    # The opening: deep green, its far inner wall lit, a dark lip all around.
    c.paint(OPENING, C['opening'])
    wall = {(x, y) for (x, y) in OPENING if (x, y - 3) not in OPENING}
    c.paint(wall, C['opening_wall'])
    c.paint(ring_around(OPENING) & MOUND, C['earth_outline'])
    # The front rim catches the light just below the lip.
    lip = {(x, y + 1) for (x, y) in ring_around(OPENING) & FRONT_RIM} - ring_around(OPENING)
    c.paint(lip & MOUND, C['earth_light'])


def _body(top):
    """The mole's body: a round-topped column 32 pixels wide."""
    head = ellipse(31.5, top + 15.5, 16, 16)
    column = rect(16, top + 15, 47, 63)
    return head | column


def _eye_centres(top):
    return (25, top + 13), (38, top + 13)


def _draw_face(c, top, visible, knocked_out):
    paint = lambda shape, colour: c.paint(shape, colour, visible)
    # Muzzle, a pale oval around nose and mouth.
    muzzle = ellipse(31.5, top + 22.5, 9, 6)
    paint(muzzle, C['muzzle'])
    # Eyes.
    for ex, ey in _eye_centres(top):
        white = ellipse(ex + 0.5, ey, 3, 3)
        paint(white, C['eye_white'])
        paint(ring_around(white) - white, C['mole_outline'])
        if knocked_out:
            cross = set()
            for k in range(-2, 3):
                cross |= {(ex + k, ey + k), (ex + k + 1, ey + k), (ex + k, ey - k),
                          (ex + k + 1, ey - k)}
            paint(cross, C['pupil'])
        else:
            # Pupils look a little inward and down; a glint keeps them lively.
            px = ex + 1 if ex < 32 else ex - 1
            paint(rect(px, ey - 1, px + 1, ey + 1), C['pupil'])
            paint({(px, ey - 1)}, C['eye_white'])
    # Nose.
    nose = ellipse(31.5, top + 19.5, 4, 2.5)
    paint(nose, C['nose'])
    paint(ring_around(nose) - nose, C['mole_outline'])
    paint({(29, top + 18), (30, top + 18), (30, top + 17)}, C['nose_light'])
    # Whiskers fan out from the muzzle, three a side, beyond the body.
    left = set()
    for dy0, dy1, x1 in [(-1, -4, 8), (1, 1, 6), (3, 6, 8)]:
        left |= line(22, top + 21 + dy0, x1, top + 21 + dy1)
    paint(left | mirror(left, CELL), C['whisker'])
    # Mouth.
    my = top + 25
    if knocked_out:
        # A wobbly open mouth with the tongue hanging out at one side.
        mouth = {(27, my), (28, my + 1), (29, my + 1), (30, my), (31, my), (32, my),
                 (33, my + 1), (34, my + 1), (35, my + 1), (36, my)}
        paint(mouth, C['mouth'])
        tongue = rect(33, my + 2, 35, my + 3) | {(34, my + 4)}
        paint(tongue, C['tongue'])
        paint((ring_around(tongue) - tongue - mouth) - {(x, my) for x in range(32, 37)},
              C['mouth'])
    else:
        # A smile with two front teeth.
        smile = {(26, my - 1), (27, my), (28, my), (29, my), (30, my), (33, my), (34, my),
                 (35, my), (36, my), (37, my - 1), (31, my - 1), (32, my - 1)}
        paint(smile, C['mouth'])
        teeth = rect(30, my, 33, my + 2)
        paint(teeth, C['eye_white'])
        paint({(30, my + 3), (31, my + 3), (32, my + 3), (33, my + 3), (29, my + 1),
               (29, my + 2), (34, my + 1), (34, my + 2)}, C['mole_outline'])


def _draw_mole(c, top, knocked_out):
    body = _body(top)
    visible = {(x, y) for y in range(45) for x in range(CELL)} | OPENING
    paint = lambda shape, colour: c.paint(shape, colour, visible)
    paint(body, C['olive'])
    paint({(x, y) for (x, y) in body if (x + 3, y + 3) not in body or (x + 2, y + 5) not in body},
          C['olive_light'])
    paint({(x, y) for (x, y) in body if (x + 4, y) not in body and x > 31}, C['olive_shadow'])
    if not knocked_out:
        paint(ellipse(24.5, top + 5, 3, 1.5), C['olive_light'])
    # Belly patch below the face.
    paint(ellipse(31.5, top + 36, 10, 6), C['muzzle'])
    paint(border(body), C['mole_outline'])
    _draw_face(c, top, visible, knocked_out)
    if knocked_out:
        _draw_cap(c, top)
    # The lip of the opening in front of the mole.
    c.paint(ring_around(OPENING) & FRONT_RIM, C['earth_outline'])


def _draw_cap(c, top):
    body = _body(top)
    crown = {(x, y) for (x, y) in body if y <= top + 7}
    brim = ellipse(39.5, top + 8, 13, 1.5)  # the peak points to one side
    c.paint(crown, C['cap'])
    c.paint({(x, y) for (x, y) in crown if (x + 3, y + 2) not in crown}, C['cap_light'])
    c.paint(brim, C['cap_shadow'])
    c.paint(border(crown | brim), C['cap_shadow'])
    c.paint({(31, top - 1), (32, top - 1)}, C['cap_light'])  # the button on top
    c.paint({(30, top - 1), (33, top - 1), (31, top - 2), (32, top - 2)}, C['cap_shadow'])


def _draw_paws(c):
    for cx in (17, 46):
        paw = ellipse(cx + 0.5, 48.5, 5, 3.5)
        c.paint(paw, C['paw'])
        c.paint(border(paw), C['earth_outline'])
        c.paint({(cx - 2, 52), (cx, 52), (cx + 1, 52), (cx + 3, 52)}, C['claw'])
        c.paint({(cx - 2, 51), (cx + 3, 51)}, C['paw'])


# A small wing, swept up and out, with feather tips along its lower edge.
_LEFT_WING = [
    '##          ',
    '####        ',
    ' #####      ',
    ' #######    ',
    '  ########  ',
    '  ##########',
    '   ## ## ## ',
]


def _pixel_art(x0, y0, rows):
    return {(x0 + x, y0 + y) for y, row in enumerate(rows) for x, ch in enumerate(row) if ch == '#'}


def _draw_halo(c):
    ring = ellipse(31.5, 7.5, 12, 4)
    hole = ellipse(31.5, 7, 8, 1.5)
    left_wing = _pixel_art(8, 1, _LEFT_WING)
    wings = left_wing | mirror(left_wing, CELL)
    c.paint(wings, C['halo'])
    # Shade only the feathers' lower edges: a full outline would leave no white in so thin a wing.
    c.paint({(x, y) for (x, y) in wings if (x, y + 1) not in wings}, C['halo_shade'])
    c.paint(ring, C['halo'])
    # The ring is seen from a little above, so its hole shows the shaded inner side of the far rim
    # rather than the background.
    c.paint(hole, C['halo_shade'])
    c.paint(border(ring), C['halo_shade'])


def draw_frame(frame):
    c = Canvas(CELL, CELL)
    _draw_mound(c)
    if frame >= 1:
        _draw_mole(c, _top_row(frame), knocked_out=(frame == 15))
    if frame >= 14:
        _draw_paws(c)
    if frame == 15:
        _draw_halo(c)
    return c.pixels


def sheet():
    """The sheet as 64 rows of 1024 palette indices."""
    frames = [draw_frame(f) for f in range(FRAMES)]
    return [sum((frames[f][y] for f in range(FRAMES)), []) for y in range(CELL)]
