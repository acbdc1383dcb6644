"""The round knobs: MIC GAIN / VOLUME (with an arrow) and PARAMS (with a gear).

The painter turns a knob image about its centre by 180 + 300 x level degrees, clockwise, and
level 0 belongs to a click straight below the centre; so the arrow points straight up in the
file. Shading is concentric so that any rotation still looks lit from the same place; black
around the knob is drawn transparent, and the ring of dots at radius 30 stays outside it.
"""

import math

from raster import Canvas, circle, polygon, capsule, ring, subtract, mix, clamp

SIZE = 64
CENTRE = SIZE / 2
SKIRT_RADIUS = 25.0
CAP_RADIUS = 18.0
YELLOW = (255, 206, 24)
DEEP_YELLOW = (214, 150, 0)


def _skirt_colour(x, y):
    dx, dy = x - CENTRE, y - CENTRE
    ridges = math.cos(math.atan2(dy, dx) * 36)
    edge = clamp((math.hypot(dx, dy) - CAP_RADIUS) / (SKIRT_RADIUS - CAP_RADIUS))
    base = 54 - 16 * edge + 9 * ridges
    return (base, base + 1, base + 5)


def _cap_colour(x, y):
    r = math.hypot(x - CENTRE, y - CENTRE)
    # Brushed metal: lighter towards the centre, with fine concentric grain.
    base = 92 - 36 * (r / CAP_RADIUS) + 5 * math.sin(r * 2.7)
    return (base, base + 2, base + 7)


def knob_body():
    canvas = Canvas(SIZE, SIZE)
    box = (CENTRE - SKIRT_RADIUS - 2, CENTRE - SKIRT_RADIUS - 2, CENTRE + SKIRT_RADIUS + 2,
           CENTRE + SKIRT_RADIUS + 2)
    canvas.paint(circle(CENTRE, CENTRE, SKIRT_RADIUS + 1.2), (22, 22, 25), box)
    canvas.paint(circle(CENTRE, CENTRE, SKIRT_RADIUS), _skirt_colour, box)
    canvas.paint(ring(CENTRE, CENTRE, SKIRT_RADIUS - 0.6, 0.5), (104, 106, 114), box)
    canvas.paint(ring(CENTRE, CENTRE, CAP_RADIUS + 0.6, 0.9), (26, 27, 30), box)
    canvas.paint(circle(CENTRE, CENTRE, CAP_RADIUS), _cap_colour, box)
    canvas.paint(ring(CENTRE, CENTRE, CAP_RADIUS - 0.7, 0.45), (128, 130, 138), box)
    return canvas


def _yellow_shade(x, y):
    return mix(YELLOW, DEEP_YELLOW, clamp((y - 6) / 28))


def arrow_knob():
    canvas = knob_body()
    tip, head_base, head_half = CENTRE - 24, CENTRE - 14, 6.5
    head = polygon([(CENTRE, tip), (CENTRE + head_half, head_base), (CENTRE - head_half, head_base)])
    shaft = capsule(CENTRE, head_base, CENTRE, CENTRE, 2.2)
    hub = circle(CENTRE, CENTRE, 4.0)
    box = (CENTRE - 10, tip - 2, CENTRE + 10, CENTRE + 7)
    outline = lambda x, y: min(head(x, y), shaft(x, y), hub(x, y)) - 1.0
    canvas.paint(outline, (30, 22, 4), box)
    canvas.paint(head, _yellow_shade, box)
    canvas.paint(shaft, _yellow_shade, box)
    canvas.paint(hub, DEEP_YELLOW, box)
    canvas.paint(circle(CENTRE, CENTRE, 1.6), (60, 44, 6), box)
    return canvas


def _gear(outer, root, teeth):
    points = []
    step = 360.0 / teeth
    for k in range(teeth):
        a = k * step
        for angle, radius in ((a - step * 0.36, root), (a - step * 0.2, outer), (a + step * 0.2, outer),
                              (a + step * 0.36, root)):
            points.append((CENTRE + radius * math.cos(math.radians(angle)),
                           CENTRE + radius * math.sin(math.radians(angle))))
    return polygon(points)


def params_knob():
    canvas = knob_body()
    # Eight teeth look the same after the painter's fixed half turn.
    gear = subtract(_gear(14.0, 10.5, 8), circle(CENTRE, CENTRE, 4.6))
    box = (CENTRE - 17, CENTRE - 17, CENTRE + 17, CENTRE + 17)
    canvas.paint(lambda x, y: gear(x, y) - 1.0, (30, 22, 4), box)
    canvas.paint(gear, lambda x, y: mix(YELLOW, DEEP_YELLOW, clamp(math.hypot(x - CENTRE, y - CENTRE) / 14)), box)
    return canvas
