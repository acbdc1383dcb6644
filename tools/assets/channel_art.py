"""The channel panel: "0.bmp", its background, and "1.bmp".."10.bmp", the channel numbers.

The panel is copied opaquely at (10, 80); a number is drawn over it at (50, 100) with pure black
transparent. The numbers are slanted seven-segment digits that light the unlit segments printed
on the background's display window; their glow is blended with the background they land on, so
the cut to transparent black at the glow's edge cannot be seen.
"""

from raster import Canvas, polygon, rounded_rect, circle, capsule, everywhere, mix, clamp

PANEL_WIDTH, PANEL_HEIGHT = 180, 110
NUMBER_WIDTH, NUMBER_HEIGHT = 90, 60
NUMBER_OFFSET = (40, 20)  # where a number lands inside the panel
WINDOW = (46, 28, 124, 78)  # the display window, panel coordinates, clear of the name row and labels

DIGIT_TOP, DIGIT_HEIGHT, DIGIT_WIDTH = 33, 40, 24
DIGIT_LEFTS = (55, 87)  # tens and units, panel coordinates
THICKNESS, GAP, SLANT = 5.0, 0.9, 0.12

SEGMENTS = {
    "0": "abcdef", "1": "bc", "2": "abdeg", "3": "abcdg", "4": "bcfg",
    "5": "acdfg", "6": "acdefg", "7": "abc", "8": "abcdefg", "9": "abcdfg",
}

GHOST = (46, 34, 10)
LIT_EDGE = (255, 170, 0)
LIT_CORE = (255, 236, 120)
GLOW = (255, 150, 0)


def _slanted(x, y):
    return x + SLANT * (DIGIT_TOP + DIGIT_HEIGHT - y), y


def _segment(x0, y0, x1, y1):
    """A hexagonal segment between two points on one axis, and its centre line."""
    h = THICKNESS / 2
    if y0 == y1:
        points = [(x0 + GAP, y0), (x0 + GAP + h, y0 - h), (x1 - GAP - h, y0 - h), (x1 - GAP, y0),
                  (x1 - GAP - h, y0 + h), (x0 + GAP + h, y0 + h)]
    else:
        points = [(x0, y0 + GAP), (x0 + h, y0 + GAP + h), (x0 + h, y1 - GAP - h), (x0, y1 - GAP),
                  (x0 - h, y1 - GAP - h), (x0 - h, y0 + GAP + h)]
    return [_slanted(x, y) for x, y in points], _slanted(x0, y0) + _slanted(x1, y1)


def segment_shapes(left):
    h = THICKNESS / 2
    l, r = left + h, left + DIGIT_WIDTH - h
    t, b = DIGIT_TOP + h, DIGIT_TOP + DIGIT_HEIGHT - h
    m = (t + b) / 2
    lines = {"a": (l, t, r, t), "b": (r, t, r, m), "c": (r, m, r, b), "d": (l, b, r, b),
             "e": (l, m, l, b), "f": (l, t, l, m), "g": (l, m, r, m)}
    return {name: _segment(*line) for name, line in lines.items()}


def _digit_box(left):
    return (left - 4, DIGIT_TOP - 4, left + DIGIT_WIDTH + SLANT * DIGIT_HEIGHT + 4, DIGIT_TOP + DIGIT_HEIGHT + 4)


def panel_background():
    canvas = Canvas(PANEL_WIDTH, PANEL_HEIGHT)
    canvas.paint(everywhere, lambda x, y: mix((34, 36, 41), (17, 18, 21), y / PANEL_HEIGHT))
    # A bevel just inside the outermost pixels, which the painter frames in red.
    canvas.paint(rounded_rect(2, 2, PANEL_WIDTH - 2, PANEL_HEIGHT - 2, 4), (62, 64, 70))
    canvas.paint(rounded_rect(3, 3, PANEL_WIDTH - 2, PANEL_HEIGHT - 2, 4), (14, 14, 16))
    canvas.paint(rounded_rect(3, 3, PANEL_WIDTH - 3, PANEL_HEIGHT - 3, 3),
                 lambda x, y: mix((32, 34, 39), (18, 19, 22), y / PANEL_HEIGHT))

    x0, y0, x1, y1 = WINDOW
    canvas.paint(rounded_rect(x0 - 1, y0 - 1, x1 + 1, y1 + 1, 4), (70, 72, 78))
    canvas.paint(rounded_rect(x0 - 1, y0 - 1, x1, y1, 4), (8, 8, 9))
    canvas.paint(rounded_rect(x0, y0, x1, y1, 3),
                 lambda x, y: mix((10, 10, 9), (20, 18, 12), clamp((y - y0) / (y1 - y0))))
    for left in DIGIT_LEFTS:
        for points, _ in segment_shapes(left).values():
            canvas.paint(polygon(points), GHOST, _digit_box(left))

    # Speaker grilles either side of the window.
    for gx in (14, 136):
        for row in range(5):
            for col in range(4):
                cx, cy = gx + 7 * col + 3.5, 34 + 8 * row + 3.5
                box = (cx - 3, cy - 3, cx + 3, cy + 3)
                canvas.paint(circle(cx, cy + 0.6, 1.6), (54, 56, 62), box)
                canvas.paint(circle(cx, cy, 1.6), (9, 9, 10), box)
    return canvas


def _box_blur(values, width, height, radius):
    out = values[:]
    for _ in range(3):
        horizontal = [0.0] * len(out)
        for y in range(height):
            row = y * width
            for x in range(width):
                lo, hi = max(0, x - radius), min(width - 1, x + radius)
                horizontal[row + x] = sum(out[row + lo:row + hi + 1]) / (2 * radius + 1)
        vertical = [0.0] * len(out)
        for y in range(height):
            lo, hi = max(0, y - radius), min(height - 1, y + radius)
            for x in range(width):
                vertical[y * width + x] = sum(horizontal[k * width + x] for k in range(lo, hi + 1)) / (2 * radius + 1)
        out = vertical
    return out


def channel_number(channel, background):
    """The number bitmap of a channel 1..10, cut out of what it covers on the background."""
    digits = str(channel)
    lit = Canvas(PANEL_WIDTH, PANEL_HEIGHT, alpha=0.0)
    for left, digit in zip(DIGIT_LEFTS[2 - len(digits):], digits):
        shapes = segment_shapes(left)
        for name in SEGMENTS[digit]:
            points, centre_line = shapes[name]
            spine = capsule(*centre_line, 0.0)
            lit.paint(polygon(points),
                      lambda x, y, d=spine: mix(LIT_CORE, LIT_EDGE, clamp(d(x, y) / (THICKNESS / 2)) ** 1.5),
                      _digit_box(left))
    halo = _box_blur(lit.a, PANEL_WIDTH, PANEL_HEIGHT, 2)

    ox, oy = NUMBER_OFFSET
    number = Canvas(NUMBER_WIDTH, NUMBER_HEIGHT)
    for y in range(NUMBER_HEIGHT):
        for x in range(NUMBER_WIDTH):
            i = (y + oy) * PANEL_WIDTH + x + ox
            glow = 0.75 * halo[i]
            if max(glow, lit.a[i]) < 0.03:
                continue  # left pure black: the background shows through
            under = background.rgb(x + ox, y + oy)
            keep = 1.0 - lit.a[i]
            colour = [clamp(lit_c + (u + g * glow) * keep, 0, 255)
                      for lit_c, u, g in zip((lit.r[i], lit.g[i], lit.b[i]), under, GLOW)]
            number.set_rgb(x, y, colour)
            if number.rgb(x, y) == (0, 0, 0):
                raise AssertionError("a lit pixel of a channel number would be transparent")
    return number
