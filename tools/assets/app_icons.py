"""The program icons: a yellow radio mark, a dot sending waves both ways, on a dark tile.

Three waves a side blur together at 16 x 16, so every 16-pixel image and the whole small icon
carry two bolder waves.
"""

from raster import Canvas, arc, circle, rounded_rect, mix, clamp

SIZES = (16, 32, 48)
YELLOW = (255, 206, 24)


def _icon(size, waves):
    canvas = Canvas(size, size, alpha=0.0)
    s = float(size)
    canvas.paint(rounded_rect(0.5, 0.5, s - 0.5, s - 0.5, s * 0.2),
                 lambda x, y: mix((50, 52, 60), (14, 15, 18), clamp(y / s)))
    canvas.paint(rounded_rect(1.5, 1.5, s - 1.5, s - 1.5, s * 0.17),
                 lambda x, y: mix((40, 42, 49), (18, 19, 23), clamp(y / s)))
    cx, cy = s / 2, s / 2
    canvas.paint(circle(cx, cy, s * 0.085 + 0.4), YELLOW)
    spacing = s * (0.38 / waves)
    stroke = max(0.75, s * (0.09 / waves))
    for k in range(1, waves + 1):
        radius = s * 0.06 + spacing * k
        for start in (-42, 138):
            canvas.paint(arc(cx, cy, radius, start, start + 84, stroke), YELLOW)
    return canvas


def large_icon():
    return [_icon(size, 2 if size < 32 else 3) for size in SIZES]


def small_icon():
    return [_icon(size, 2) for size in SIZES]
