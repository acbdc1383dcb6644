"""A small anti-aliased raster: premultiplied RGBA floats and signed-distance shapes.

Coordinates are continuous with y pointing down; pixel (i, j) covers [i, i+1) x [j, j+1)
and is sampled at its centre. A shape is a function (x, y) -> signed distance in pixels,
negative inside; its coverage of a pixel is approximated by clamp(0.5 - distance).
"""

import math


def clamp(value, low=0.0, high=1.0):
    return low if value < low else high if value > high else value


def mix(a, b, t):
    """Linear blend of two colours, t = 0 gives a."""
    return tuple(x + (y - x) * t for x, y in zip(a, b))


class Canvas:
    def __init__(self, width, height, colour=(0, 0, 0), alpha=1.0):
        self.width = width
        self.height = height
        n = width * height
        self.r = [colour[0] * alpha] * n
        self.g = [colour[1] * alpha] * n
        self.b = [colour[2] * alpha] * n
        self.a = [alpha] * n

    def copy(self):
        other = Canvas.__new__(Canvas)
        other.width, other.height = self.width, self.height
        other.r, other.g, other.b, other.a = self.r[:], self.g[:], self.b[:], self.a[:]
        return other

    def _box(self, bbox):
        if bbox is None:
            return 0, 0, self.width, self.height
        x0, y0, x1, y1 = bbox
        return (max(0, int(math.floor(x0))), max(0, int(math.floor(y0))),
                min(self.width, int(math.ceil(x1))), min(self.height, int(math.ceil(y1))))

    def paint(self, shape, colour, bbox=None, opacity=1.0):
        """Composite a shape over the canvas; colour is an RGB tuple or a function (x, y) -> RGB."""
        x0, y0, x1, y1 = self._box(bbox)
        shaded = callable(colour)
        r, g, b, a = self.r, self.g, self.b, self.a
        for y in range(y0, y1):
            cy = y + 0.5
            row = y * self.width
            for x in range(x0, x1):
                cx = x + 0.5
                cover = 0.5 - shape(cx, cy)
                if cover <= 0.0:
                    continue
                if cover > 1.0:
                    cover = 1.0
                cover *= opacity
                c = colour(cx, cy) if shaded else colour
                i = row + x
                keep = 1.0 - cover
                r[i] = c[0] * cover + r[i] * keep
                g[i] = c[1] * cover + g[i] * keep
                b[i] = c[2] * cover + b[i] * keep
                a[i] = cover + a[i] * keep

    def glow(self, cx, cy, radius, colour, strength=1.0):
        """Add light with a Gaussian fall-off (sigma = radius / 2) around a point."""
        reach = radius * 1.6
        x0, y0, x1, y1 = self._box((cx - reach, cy - reach, cx + reach, cy + reach))
        k = 2.0 / (radius * radius)
        r, g, b, a = self.r, self.g, self.b, self.a
        for y in range(y0, y1):
            dy = y + 0.5 - cy
            row = y * self.width
            for x in range(x0, x1):
                dx = x + 0.5 - cx
                w = strength * math.exp(-(dx * dx + dy * dy) * k)
                if w < 0.002:
                    continue
                i = row + x
                r[i] += colour[0] * w
                g[i] += colour[1] * w
                b[i] += colour[2] * w
                a[i] = min(1.0, a[i] + w)

    def over(self, layer, dx=0, dy=0):
        """Composite another canvas over this one with its top-left corner at (dx, dy)."""
        for y in range(layer.height):
            ty = y + dy
            if not 0 <= ty < self.height:
                continue
            for x in range(layer.width):
                tx = x + dx
                if not 0 <= tx < self.width:
                    continue
                j = y * layer.width + x
                la = layer.a[j]
                if la <= 0.0:
                    continue
                i = ty * self.width + tx
                keep = 1.0 - min(1.0, la)
                self.r[i] = layer.r[j] + self.r[i] * keep
                self.g[i] = layer.g[j] + self.g[i] * keep
                self.b[i] = layer.b[j] + self.b[i] * keep
                self.a[i] = min(1.0, la) + self.a[i] * keep

    def pixel(self, x, y):
        """The straight (not premultiplied) 8-bit RGBA value of a pixel."""
        i = y * self.width + x
        alpha = clamp(self.a[i])
        if alpha <= 0.0:
            return (0, 0, 0, 0)
        return tuple(int(round(clamp(c / alpha, 0.0, 255.0))) for c in (self.r[i], self.g[i], self.b[i])) + (
            int(round(alpha * 255)),)

    def rgb(self, x, y):
        """The 8-bit RGB value of a pixel as shown on black."""
        i = y * self.width + x
        return tuple(int(round(clamp(c, 0.0, 255.0))) for c in (self.r[i], self.g[i], self.b[i]))

    def set_rgb(self, x, y, colour):
        i = y * self.width + x
        self.r[i], self.g[i], self.b[i] = (float(c) for c in colour)
        self.a[i] = 1.0


# Shapes ---------------------------------------------------------------------------------------------


def everywhere(x, y):
    """The whole canvas, for backgrounds."""
    return -1.0


def circle(cx, cy, radius):
    return lambda x, y: math.hypot(x - cx, y - cy) - radius


def ring(cx, cy, radius, half_width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - radius) - half_width


def _segment_distance(x, y, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else clamp(((x - x0) * dx + (y - y0) * dy) / length2)
    return math.hypot(x - x0 - t * dx, y - y0 - t * dy)


def capsule(x0, y0, x1, y1, radius):
    return lambda x, y: _segment_distance(x, y, x0, y0, x1, y1) - radius


def polyline(points, radius):
    segments = list(zip(points, points[1:]))

    def shape(x, y):
        return min(_segment_distance(x, y, p[0], p[1], q[0], q[1]) for p, q in segments) - radius

    return shape


def polygon(points):
    """Signed distance to a simple polygon (negative inside, even-odd rule)."""
    edges = list(zip(points, points[1:] + points[:1]))

    def shape(x, y):
        best = float("inf")
        inside = False
        for (x0, y0), (x1, y1) in edges:
            best = min(best, _segment_distance(x, y, x0, y0, x1, y1))
            if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
                inside = not inside
        return -best if inside else best

    return shape


def rounded_rect(x0, y0, x1, y1, radius):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def shape(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius

    return shape


def arc(cx, cy, radius, start, end, half_width):
    """A stroked circular arc with round caps; angles in degrees, screen convention (y down)."""
    a0, a1 = math.radians(start), math.radians(end)
    ends = [(cx + radius * math.cos(a), cy + radius * math.sin(a)) for a in (a0, a1)]

    def shape(x, y):
        angle = math.atan2(y - cy, x - cx)
        while angle < a0:
            angle += 2 * math.pi
        if angle <= a1:
            return abs(math.hypot(x - cx, y - cy) - radius) - half_width
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - half_width

    return shape


def ellipse_ring(cx, cy, rx, ry, tilt, half_width):
    """A stroked ellipse rotated by tilt degrees (first-order distance estimate)."""
    c, s = math.cos(math.radians(tilt)), math.sin(math.radians(tilt))

    def shape(x, y):
        u = (x - cx) * c + (y - cy) * s
        v = -(x - cx) * s + (y - cy) * c
        f = (u / rx) ** 2 + (v / ry) ** 2 - 1.0
        grad = 2.0 * math.hypot(u / (rx * rx), v / (ry * ry))
        return abs(f) / max(grad, 1e-9) - half_width

    return shape


def subtract(shape, cut):
    return lambda x, y: max(shape(x, y), -cut(x, y))


def intersect(*shapes):
    return lambda x, y: max(s(x, y) for s in shapes)


def arc_points(cx, cy, rx, ry, start, end, steps):
    """Points along an elliptical arc, angles in degrees, screen convention."""
    return [(cx + rx * math.cos(math.radians(start + (end - start) * k / steps)),
             cy + ry * math.sin(math.radians(start + (end - start) * k / steps))) for k in range(steps + 1)]
