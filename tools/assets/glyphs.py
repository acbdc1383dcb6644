"""A small stroke font holding the characters of the meter face's markings.

Glyphs are polylines on a 4 x 6 grid, y down; text is drawn as round-capped strokes.
"""

from raster import arc_points, polyline

GRID_WIDTH, GRID_HEIGHT = 4.0, 6.0

GLYPHS = {
    "0": [arc_points(2, 2, 2, 2, 180, 360, 8) + arc_points(2, 4, 2, 2, 0, 180, 8) + [(0, 2)]],
    "1": [[(0.8, 1.2), (2.4, 0), (2.4, 6)]],
    "2": [arc_points(2, 1.9, 1.9, 1.9, 190, 380, 10) + [(0, 6), (4, 6)]],
    "3": [arc_points(2, 1.5, 1.8, 1.5, 200, 450, 10), arc_points(2, 4.4, 1.9, 1.6, 270, 520, 10)],
    "5": [[(3.8, 0), (0.4, 0), (0.2, 2.6)] + arc_points(2, 4.0, 2, 2.0, 225, 495, 12)],
    "7": [[(0, 0), (4, 0), (1.4, 6)]],
    "+": [[(0.4, 3), (3.6, 3)], [(2, 1.4), (2, 4.6)]],
    "-": [[(0.6, 3), (3.4, 3)]],
    "V": [[(0, 0), (2, 6), (4, 0)]],
    "U": [[(0, 0)] + arc_points(2, 4, 2, 2, 180, 0, 10) + [(4, 0)]],
}


def text_shape(text, x, y, height, stroke, spacing=0.45):
    """The stroked shape of a text with its top-left corner at (x, y), and its bounding box."""
    unit = height / GRID_HEIGHT
    lines = []
    pen = x
    for char in text:
        for points in GLYPHS[char]:
            lines.append([(pen + px * unit, y + py * unit) for px, py in points])
        pen += (GRID_WIDTH + GRID_WIDTH * spacing) * unit
    strokes = [polyline(points, stroke / 2) for points in lines]
    width = pen - x - GRID_WIDTH * spacing * unit
    box = (x - stroke, y - stroke, x + width + stroke, y + height + stroke)
    return (lambda px, py: min(s(px, py) for s in strokes)), box


def text_width(text, height, spacing=0.45):
    unit = height / GRID_HEIGHT
    return (len(text) * (GRID_WIDTH + GRID_WIDTH * spacing) - GRID_WIDTH * spacing) * unit
