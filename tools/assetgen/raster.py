"""Small integer raster helpers shared by the sprite, icon and cursor drawings.

Shapes are sets of (x, y) pixel coordinates. Every test is done in integers (coordinates doubled
so that centres may fall between pixels), so the artwork never depends on floating-point rounding.
"""


def ellipse(cx, cy, rx, ry):
    """Pixels whose centres lie inside the ellipse; all four values may be halves (x.5)."""
    cx2, cy2, rx2, ry2 = int(2 * cx), int(2 * cy), int(2 * rx), int(2 * ry)
    assert (cx2, cy2, rx2, ry2) == (2 * cx, 2 * cy, 2 * rx, 2 * ry)
    limit = rx2 * rx2 * ry2 * ry2
    out = set()
    for y in range((cy2 - ry2) // 2 - 1, (cy2 + ry2) // 2 + 2):
        dy = (2 * y - cy2) ** 2 * rx2 * rx2
        for x in range((cx2 - rx2) // 2 - 1, (cx2 + rx2) // 2 + 2):
            if (2 * x - cx2) ** 2 * ry2 * ry2 + dy <= limit:
                out.add((x, y))
    return out


def rect(x0, y0, x1, y1):
    """Pixels of the rectangle with both corners included."""
    return {(x, y) for y in range(y0, y1 + 1) for x in range(x0, x1 + 1)}


def line(x0, y0, x1, y1):
    """Bresenham's line, both ends included."""
    out = set()
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
    err = dx + dy
    while True:
        out.add((x0, y0))
        if (x0, y0) == (x1, y1):
            return out
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


def polygon(points):
    """Pixels whose centres lie inside the polygon (even-odd rule, integer vertices)."""
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    out = set()
    n = len(points)
    for y in range(min(ys), max(ys) + 1):
        for x in range(min(xs), max(xs) + 1):
            # Test the pixel centre (x + 1/2, y + 1/2) in doubled coordinates.
            px, py = 2 * x + 1, 2 * y + 1
            inside = False
            for i in range(n):
                ax, ay = 2 * points[i][0], 2 * points[i][1]
                bx, by = 2 * points[(i + 1) % n][0], 2 * points[(i + 1) % n][1]
                if (ay > py) != (by > py):
                    # x of the edge at py, compared without division
                    lhs = (px - ax) * (by - ay)
                    rhs = (bx - ax) * (py - ay)
                    if (lhs < rhs) == (by > ay):
                        inside = not inside
            if inside:
                out.add((x, y))
    return out


def shift(shape, dx, dy):
    return {(x + dx, y + dy) for x, y in shape}


def mirror(shape, width):
    return {(width - 1 - x, y) for x, y in shape}


def border(shape):
    """The pixels of a shape that touch (4-neighbour) a pixel outside it."""
    return {(x, y) for x, y in shape
            if (x - 1, y) not in shape or (x + 1, y) not in shape or (x, y - 1) not in shape or
            (x, y + 1) not in shape}


def ring_around(shape):
    """The pixels just outside a shape (8-neighbour), for outlines drawn outside the fill."""
    out = set()
    for x, y in shape:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                if (x + dx, y + dy) not in shape:
                    out.add((x + dx, y + dy))
    return out


class Canvas:
    """A width x height grid of palette indices, 0 everywhere at first."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = [[0] * width for _ in range(height)]
        self.painted = set()  # for icons and cursors, whose masks are separate from the colours

    def paint(self, shape, colour, clip=None):
        for x, y in shape:
            if 0 <= x < self.width and 0 <= y < self.height and (clip is None or (x, y) in clip):
                self.pixels[y][x] = colour
                self.painted.add((x, y))

    def opaque(self):
        return [[(x, y) in self.painted for x in range(self.width)] for y in range(self.height)]

    def get(self, x, y):
        return self.pixels[y][x]
