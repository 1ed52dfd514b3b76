"""The default desktop: a made-up 1920 x 1080 desktop shown where the screen cannot be captured.

A gradient wallpaper with hills, a column of desktop icons with labels, one open notepad window
and a task bar with a start button and a clock. Flat colours keep the PNG small.
"""

import math

import font

WIDTH = 1920
HEIGHT = 1080
TASKBAR = 48


class Picture:
    def __init__(self):
        self.rows = [bytearray(3 * WIDTH) for _ in range(HEIGHT)]

    def span(self, y, x0, x1, rgb):
        """Fill pixels x0..x1-1 of row y."""
        x0, x1 = max(0, x0), min(WIDTH, x1)
        if 0 <= y < HEIGHT and x0 < x1:
            self.rows[y][3 * x0:3 * x1] = bytes(rgb) * (x1 - x0)

    def rect(self, x, y, w, h, rgb):
        for yy in range(y, y + h):
            self.span(yy, x, x + w, rgb)

    def frame(self, x, y, w, h, rgb):
        self.rect(x, y, w, 1, rgb)
        self.rect(x, y + h - 1, w, 1, rgb)
        self.rect(x, y, 1, h, rgb)
        self.rect(x + w - 1, y, 1, h, rgb)

    def disc(self, cx, cy, r, rgb):
        for dy in range(-r, r + 1):
            dx = math.isqrt(r * r - dy * dy)
            self.span(cy + dy, cx - dx, cx + dx + 1, rgb)

    def text(self, x, y, s, rgb, scale=2, shadow=None):
        if shadow:
            self.text(x + scale // 2 + 1, y + scale // 2 + 1, s, shadow, scale)
        for gx, gy in font.pixels(s):
            self.rect(x + gx * scale, y + gy * scale, scale, scale, rgb)

    def png_rows(self):
        return [bytes(r) for r in self.rows]


def _mix(a, b, num, den):
    return tuple(a[i] + (b[i] - a[i]) * num // den for i in range(3))


def _wallpaper(p):
    top, bottom = (22, 62, 112), (118, 176, 212)
    for y in range(HEIGHT):
        # Bands of eight rows: a gradient that still compresses to almost nothing.
        p.span(y, 0, WIDTH, _mix(top, bottom, (y // 8) * 8, HEIGHT))
    # Two rolling hills, the far one lighter.
    for cx, cy, r, rgb in [(1500, 1700, 1000, (70, 132, 104)), (300, 1750, 1150, (46, 104, 80))]:
        for y in range(cy - r, HEIGHT):
            if y < 0:
                continue
            dx = math.isqrt(max(0, r * r - (y - cy) ** 2))
            if r * r >= (y - cy) ** 2:
                p.span(y, cx - dx, cx + dx + 1, rgb)
    p.disc(1540, 230, 70, (250, 236, 170))  # a low sun


def _icon_computer(p, x, y):
    p.rect(x + 4, y + 6, 40, 28, (200, 204, 210))
    p.rect(x + 7, y + 9, 34, 22, (40, 110, 190))
    p.rect(x + 20, y + 34, 8, 6, (160, 164, 170))
    p.rect(x + 12, y + 40, 24, 4, (200, 204, 210))


def _icon_folder(p, x, y, rgb=(240, 196, 80)):
    p.rect(x + 4, y + 8, 18, 6, _mix(rgb, (0, 0, 0), 1, 5))
    p.rect(x + 4, y + 12, 40, 28, rgb)
    p.rect(x + 4, y + 12, 40, 2, _mix(rgb, (255, 255, 255), 1, 2))


def _icon_note(p, x, y):
    p.rect(x + 10, y + 4, 28, 40, (250, 250, 246))
    for k in range(5):
        p.rect(x + 14, y + 12 + 6 * k, 20 - 4 * (k % 2), 2, (120, 130, 150))


def _icon_photo(p, x, y):
    p.rect(x + 4, y + 8, 40, 32, (250, 250, 246))
    p.rect(x + 7, y + 11, 34, 26, (120, 190, 230))
    for k in range(12):
        p.span(y + 25 + k, x + 16 - k, x + 18 + k, (60, 150, 80))
    p.disc(x + 33, y + 17, 3, (250, 220, 90))


def _icon_trash(p, x, y):
    p.rect(x + 10, y + 10, 28, 4, (170, 176, 184))
    p.rect(x + 20, y + 6, 8, 4, (170, 176, 184))
    p.rect(x + 12, y + 14, 24, 30, (200, 206, 214))
    for k in range(3):
        p.rect(x + 17 + 6 * k, y + 18, 2, 22, (150, 156, 166))


def _icons(p):
    icons = [('PC', _icon_computer), ('DOCS', _icon_folder), ('PHOTOS', _icon_photo),
             ('NOTES', _icon_note), ('GAMES', lambda p, x, y: _icon_folder(p, x, y, (120, 200, 120))),
             ('TRASH', _icon_trash)]
    for i, (label, draw) in enumerate(icons):
        x, y = 36, 28 + i * 112
        draw(p, x, y)
        width = 2 * font.text_width(label)
        p.text(x + 24 - width // 2, y + 56, label, (255, 255, 255), 2, shadow=(20, 30, 40))


def _window(p):
    x, y, w, h = 520, 180, 760, 500
    p.rect(x + 8, y + 8, w, h, (14, 40, 72))  # drop shadow
    p.rect(x, y, w, h, (250, 250, 250))
    p.rect(x, y, w, 36, (60, 72, 96))
    p.text(x + 14, y + 11, 'NOTES.TXT - NOTEPAD', (240, 240, 240), 2)
    for k, rgb in enumerate([(230, 190, 60), (90, 190, 90), (220, 80, 70)]):
        p.disc(x + w - 70 + 22 * k, y + 18, 7, rgb)
    p.rect(x, y + 36, w, 28, (236, 238, 242))
    p.text(x + 12, y + 44, 'FILE  EDIT  VIEW  HELP', (60, 60, 70), 2)
    p.frame(x, y, w, h, (40, 50, 70))
    lines = ['TO DO', '', '- CALL THE PLUMBER', '- BUY MILK', '- REPORT DUE 17:00',
             '- BACK UP THE PHOTOS', '', 'MEETING NOTES 4/12:', 'BUDGET 2.5 - OK']
    for k, s in enumerate(lines):
        p.text(x + 24, y + 88 + 30 * k, s, (30, 30, 40), 2)


def _taskbar(p):
    y = HEIGHT - TASKBAR
    p.rect(0, y, WIDTH, TASKBAR, (28, 32, 42))
    p.rect(0, y, WIDTH, 1, (80, 88, 106))
    # Start button with a round emblem.
    p.rect(4, y + 5, 124, TASKBAR - 10, (52, 116, 70))
    p.disc(24, y + 24, 10, (240, 240, 240))
    p.disc(24, y + 24, 5, (52, 116, 70))
    p.text(42, y + 17, 'START', (255, 255, 255), 2)
    # Open programmes.
    for k, (label, active) in enumerate([('NOTEPAD', True), ('MAIL', False), ('WEB', False)]):
        bx = 144 + k * 170
        p.rect(bx, y + 5, 160, TASKBAR - 10, (62, 70, 90) if active else (42, 48, 62))
        p.rect(bx + 10, y + 14, 20, 20, (200, 206, 214))
        p.text(bx + 40, y + 17, label, (230, 230, 230), 2)
    # Clock.
    p.rect(WIDTH - 150, y + 5, 146, TASKBAR - 10, (36, 40, 52))
    p.text(WIDTH - 128, y + 10, '10:42', (240, 240, 240), 2)
    p.text(WIDTH - 134, y + 30, '2024-04-12', (180, 186, 200), 1)


def picture():
    p = Picture()
    _wallpaper(p)
    _icons(p)
    _window(p)
    _taskbar(p)
    return p.png_rows()
