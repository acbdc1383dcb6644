"""The documentation icon (drawn 30 x 30) and the speech-synthesiser icon (drawn 32 x 32).

Both are drawn opaquely at their own size, so they are made at that size on black.
"""

from raster import Canvas, polygon, rounded_rect, capsule, mix, clamp

YELLOW = (255, 206, 24)


def documentation_icon():
    canvas = Canvas(30, 30)
    fold = 7
    left, top, right, bottom = 6, 3, 24, 27
    page = polygon([(left, top), (right - fold, top), (right, top + fold), (right, bottom), (left, bottom)])
    canvas.paint(lambda x, y: page(x, y) - 1.0, (70, 70, 74))
    canvas.paint(page, lambda x, y: mix((246, 244, 234), (196, 192, 178), clamp((y - top) / (bottom - top))))
    canvas.paint(polygon([(right - fold, top), (right - fold, top + fold), (right, top + fold)]), (160, 156, 142))
    canvas.paint(capsule(left + 3, top + 4.5, right - fold - 2.5, top + 4.5, 1.3), YELLOW)
    for row, length in enumerate((12, 10, 12, 8, 11)):
        y = top + 10 + 3 * row
        canvas.paint(capsule(left + 3, y, left + 3 + length - 2, y, 0.6), (96, 98, 106))
    return canvas


def synthesiser_icon():
    canvas = Canvas(32, 32)
    bubble = rounded_rect(3, 5, 29, 22, 5)
    tail = polygon([(8, 20), (15, 20), (6, 28)])
    outline = lambda x, y: min(bubble(x, y), tail(x, y))
    canvas.paint(outline, YELLOW)
    canvas.paint(lambda x, y: outline(x, y) + 1.4, (36, 38, 44))
    # Bars two pixels wide on whole pixels stay crisp at this size.
    for k, height in enumerate((4, 8, 12, 7, 3)):
        x = 8 + 4 * k
        canvas.paint(capsule(x, 13.5 - height / 2, x, 13.5 + height / 2, 1.0),
                     lambda px, py: mix((255, 236, 120), (232, 150, 0), clamp(abs(py - 13.5) / 5)))
    return canvas
