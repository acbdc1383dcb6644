"""The 150 x 84 face of the level meters: a backlit VU scale behind a needle pivoting at (75, 84).

The needle angle is 218 + 102 x peak / 32768 degrees (screen convention, 270 straight up); the
scale puts 0 VU at -3 dB below full scale, so full scale reads +3 at the end of the red zone.
"""

import math

from raster import Canvas, arc, capsule, circle, rounded_rect, mix, clamp
from glyphs import text_shape, text_width

WIDTH, HEIGHT = 150, 84
PIVOT = (WIDTH // 2, HEIGHT)
SCALE_RADIUS = 59.0
LABEL_RADIUS = 70.5
INK = (34, 30, 24)
RED = (206, 28, 20)
MAJOR = [-20, -10, -7, -5, -3, -2, -1, 0, 1, 2, 3]
LABELLED = [-20, -10, -7, -5, -3, 0, 1, 2, 3]  # -2 and -1 sit too close together for a number
MINOR = [-15, -8, -6, -4, -2.5, -1.5, -0.5, 0.5, 1.5, 2.5]


def needle_angle(vu):
    """The needle angle, in degrees, at which the scale reads vu."""
    return 218.0 + 102.0 * 10.0 ** ((vu - 3.0) / 20.0)


def _polar(angle, radius):
    a = math.radians(angle)
    return PIVOT[0] + radius * math.cos(a), PIVOT[1] + radius * math.sin(a)


def _face_colour(x, y):
    t = clamp(math.hypot((x - 75) / 80, (y - 58) / 60))
    return mix((252, 240, 196), (206, 176, 110), t ** 1.4)


def _tick(canvas, vu, inner, outer, width, colour):
    x0, y0 = _polar(needle_angle(vu), inner)
    x1, y1 = _polar(needle_angle(vu), outer)
    canvas.paint(capsule(x0, y0, x1, y1, width / 2), colour, (min(x0, x1) - 2, min(y0, y1) - 2, max(x0, x1) + 2,
                                                              max(y0, y1) + 2))


def _label(canvas, text, centre_x, centre_y, height, stroke, colour):
    width = text_width(text, height)
    shape, box = text_shape(text, centre_x - width / 2, centre_y - height / 2, height, stroke)
    canvas.paint(shape, colour, box)


def meter_face():
    canvas = Canvas(WIDTH, HEIGHT, (20, 21, 24))
    canvas.paint(rounded_rect(0.5, 0.5, WIDTH - 0.5, HEIGHT + 8, 7), (44, 45, 50))
    canvas.paint(rounded_rect(3, 3, WIDTH - 3, HEIGHT + 6, 5), _face_colour)

    zero = needle_angle(0)
    canvas.paint(arc(*PIVOT, SCALE_RADIUS, needle_angle(-20), zero, 0.55), INK)
    canvas.paint(arc(*PIVOT, SCALE_RADIUS + 1.8, zero, needle_angle(3), 2.3), RED)
    for vu in MAJOR:
        _tick(canvas, vu, SCALE_RADIUS, SCALE_RADIUS + 6.5, 1.3, RED if vu > 0 else INK)
    for vu in MINOR:
        _tick(canvas, vu, SCALE_RADIUS, SCALE_RADIUS + 3.5, 0.9, RED if vu > 0 else INK)
    for vu in LABELLED:
        x, y = _polar(needle_angle(vu), LABEL_RADIUS)
        _label(canvas, str(abs(vu)), x, y, 6.5, 1.05, RED if vu > 0 else INK)
    _label(canvas, "-", *_polar(221, SCALE_RADIUS - 8), 6.5, 1.3, INK)
    _label(canvas, "+", *_polar(319, SCALE_RADIUS - 8), 6.5, 1.3, RED)
    _label(canvas, "VU", 75, 47, 11, 1.9, INK)

    # Glass: a faint sheen over the upper part of the face.
    sheen = rounded_rect(-20, -40, WIDTH + 20, 26, 30)
    canvas.paint(lambda x, y: sheen(x, y) / 10, (255, 255, 255), (3, 3, WIDTH - 3, 40), opacity=0.10)
    canvas.paint(circle(*PIVOT, 15), lambda x, y: mix((70, 72, 80), (28, 29, 33), clamp((y - 69) / 14)))
    return canvas
