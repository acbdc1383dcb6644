"""The six round indicator lights, 14 x 14 on pure black (drawn transparent by the panels)."""

import math

from raster import Canvas, circle, ring, mix, clamp

SIZE = 14
CENTRE = SIZE / 2
LAMP_RADIUS = 5.2

# Entry name -> (edge colour, core colour) of the lamp; the dark ones are the unlit look.
LIGHTS = {
    "LedRed.bmp": ((150, 12, 10), (255, 120, 96)),
    "LedDarkRed.bmp": ((46, 8, 8), (112, 26, 22)),
    "LedGreen.bmp": ((10, 104, 22), (150, 255, 140)),
    "LedYellow.bmp": ((164, 112, 0), (255, 246, 150)),
    "LedBlue.bmp": ((12, 42, 168), (130, 180, 255)),
    "LedDarkBlue.bmp": ((8, 14, 50), (34, 50, 118)),
}


def light(edge, core):
    canvas = Canvas(SIZE, SIZE)
    canvas.paint(circle(CENTRE, CENTRE, 6.9), (40, 40, 44))
    canvas.paint(ring(CENTRE, CENTRE, 6.3, 0.45), (86, 88, 94))
    # The lamp's hottest point sits up and left, where the light seems to come from.
    hot_x, hot_y = CENTRE - 1.3, CENTRE - 1.5

    def lamp(x, y):
        t = clamp(math.hypot(x - hot_x, y - hot_y) / (LAMP_RADIUS + 1.4))
        return mix(core, edge, t ** 0.8)

    canvas.paint(circle(CENTRE, CENTRE, LAMP_RADIUS), lamp)
    canvas.paint(circle(CENTRE - 1.6, CENTRE - 2.0, 1.5), (255, 255, 255), opacity=0.55)
    return canvas


def check_light(canvas):
    """The lamp and its rim must never contain the transparent colour."""
    for y in range(SIZE):
        for x in range(SIZE):
            if math.hypot(x + 0.5 - CENTRE, y + 0.5 - CENTRE) <= 6.4 and canvas.rgb(x, y) == (0, 0, 0):
                raise AssertionError("a light has a pure black pixel inside its rim")
