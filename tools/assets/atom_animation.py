"""The title animation: three electrons circling a nucleus on tilted orbits, as a looping GIF.

Each electron goes once round its orbit in FRAMES frames, so the last frame leads back into the
first. Halves of the orbits and electrons behind the nucleus are drawn before it, the rest after.
"""

import math

from raster import Canvas, circle, ellipse_ring, everywhere, intersect, mix, clamp

SIZE = 150
FRAMES = 24
DELAY = 8  # hundredths of a second
CENTRE = SIZE / 2
ORBIT_RX, ORBIT_RY = 64.0, 21.0
TILTS = (90.0, 30.0, 150.0)
ORBIT_COLOUR = (255, 196, 30)
ELECTRON_CORE = (235, 248, 255)
ELECTRON_GLOW = (80, 170, 255)
TRAIL = 5


def _background():
    canvas = Canvas(SIZE, SIZE)
    canvas.paint(everywhere,
                 lambda x, y: mix((22, 24, 31), (4, 5, 7), clamp(math.hypot(x - CENTRE, y - CENTRE) / 100)))
    return canvas


def _orbit_half(tilt, front):
    c, s = math.cos(math.radians(tilt)), math.sin(math.radians(tilt))
    side = 1.0 if front else -1.0
    half_plane = lambda x, y: -side * (-(x - CENTRE) * s + (y - CENTRE) * c)
    return intersect(ellipse_ring(CENTRE, CENTRE, ORBIT_RX, ORBIT_RY, tilt, 0.6), half_plane), \
        intersect(ellipse_ring(CENTRE, CENTRE, ORBIT_RX, ORBIT_RY, tilt, 2.2), half_plane)


def _paint_orbits(canvas, front):
    for tilt in TILTS:
        line, haze = _orbit_half(tilt, front)
        strength = 1.0 if front else 0.45
        canvas.paint(haze, ORBIT_COLOUR, opacity=0.16 * strength)
        canvas.paint(line, ORBIT_COLOUR, opacity=0.9 * strength)


def _nucleus(canvas):
    canvas.glow(CENTRE, CENTRE, 22, (255, 120, 20), 0.55)
    # Protons red, neutrons steel, packed back to front and lit from the upper left.
    particles = [(-4, -5, 1), (5, -4, 0), (-6, 3, 0), (4, 5, 1), (0, 0, 1), (-1, -8, 0), (8, 1, 1), (-8, -2, 1),
                 (1, 8, 0)]
    particles.sort(key=lambda p: -math.hypot(p[0], p[1]))
    for dx, dy, proton in particles:
        cx, cy = CENTRE + dx * 0.9, CENTRE + dy * 0.9
        dark, light = ((120, 14, 8), (255, 120, 80)) if proton else ((70, 76, 92), (210, 220, 236))
        shade = lambda x, y, cx=cx, cy=cy, dark=dark, light=light: mix(
            light, dark, clamp(math.hypot(x - cx + 1.6, y - cy + 1.8) / 6.5))
        canvas.paint(circle(cx, cy, 5.0), shade, (cx - 7, cy - 7, cx + 7, cy + 7))


def _electron_position(orbit, angle):
    tilt = math.radians(TILTS[orbit])
    u, v = ORBIT_RX * math.cos(angle), ORBIT_RY * math.sin(angle)
    return (CENTRE + u * math.cos(tilt) - v * math.sin(tilt), CENTRE + u * math.sin(tilt) + v * math.cos(tilt),
            math.sin(angle))


def _paint_electron(canvas, orbit, angle):
    step = 2 * math.pi / FRAMES
    for k in range(TRAIL, 0, -1):
        x, y, _ = _electron_position(orbit, angle - k * step * 0.35)
        canvas.glow(x, y, 3.0, ELECTRON_GLOW, 0.28 * (1 - k / (TRAIL + 1)))
    x, y, depth = _electron_position(orbit, angle)
    radius = 3.4 + 0.8 * depth
    canvas.glow(x, y, radius * 2.4, ELECTRON_GLOW, 0.7)
    canvas.paint(circle(x, y, radius), lambda px, py: mix(ELECTRON_CORE, ELECTRON_GLOW,
                                                          clamp(math.hypot(px - x + 1, py - y + 1) / (radius + 1))),
                 (x - radius - 2, y - radius - 2, x + radius + 2, y + radius + 2))


def frames():
    """The frames as lists of 8-bit RGB tuples in row order."""
    back = _background()
    _paint_orbits(back, front=False)
    front = Canvas(SIZE, SIZE, alpha=0.0)
    _nucleus(front)
    _paint_orbits(front, front=True)
    out = []
    for f in range(FRAMES):
        canvas = back.copy()
        angles = [2 * math.pi * f / FRAMES + 2 * math.pi * orbit / 3 for orbit in range(len(TILTS))]
        behind = [orbit for orbit, a in enumerate(angles) if math.sin(a) < 0]
        for orbit in behind:
            _paint_electron(canvas, orbit, angles[orbit])
        canvas.over(front)
        for orbit in range(len(TILTS)):
            if orbit not in behind:
                _paint_electron(canvas, orbit, angles[orbit])
        out.append([canvas.rgb(x, y) for y in range(SIZE) for x in range(SIZE)])
    return out
