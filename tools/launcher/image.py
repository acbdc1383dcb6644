"""Screen pictures: read from xwd's output, written and read as PNG, and queried pixel by pixel."""

import struct
import zlib

_XWD_HEADER_WORDS = 25
_Z_PIXMAP = 2


class Image:
    """An RGB picture: pixels are (r, g, b) tuples, rows top to bottom."""

    def __init__(self, width, height, rgb):
        if len(rgb) != width * height * 3:
            raise ValueError("pixel data does not match the size")
        self.width = width
        self.height = height
        self.rgb = bytes(rgb)

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError(f"({x}, {y}) is outside {self.width} x {self.height}")
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def crop(self, x, y, width, height):
        rows = []
        for row in range(y, y + height):
            start = (row * self.width + x) * 3
            rows.append(self.rgb[start:start + width * 3])
        return Image(width, height, b"".join(rows))

    def save_png(self, path):
        raw = b"".join(b"\x00" + self.rgb[r * self.width * 3:(r + 1) * self.width * 3] for r in range(self.height))
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            for kind, body in ((b"IHDR", header), (b"IDAT", zlib.compress(raw, 6)), (b"IEND", b"")):
                f.write(struct.pack(">I", len(body)) + kind + body)
                f.write(struct.pack(">I", zlib.crc32(kind + body)))


def from_xwd(data):
    """Decodes the dump of a TrueColor ZPixmap with one byte per colour, as xwd writes for Xvfb."""
    if len(data) < _XWD_HEADER_WORDS * 4:
        raise ValueError("xwd dump shorter than its header")
    for order in (">", "<"):
        h = struct.unpack(order + "25I", data[:100])
        if h[1] == 7:
            break
    else:
        raise ValueError("not an xwd version 7 dump")
    (header_size, _, pixmap_format, _, width, height, _, byte_order, _, _, _, bits_per_pixel, bytes_per_line,
     _, red_mask, green_mask, blue_mask, _, _, ncolors) = h[:20]
    step = bits_per_pixel // 8
    if pixmap_format != _Z_PIXMAP or bits_per_pixel not in (24, 32):
        raise ValueError(f"unsupported xwd layout: format {pixmap_format}, {bits_per_pixel} bits per pixel")
    offsets = []
    for mask in (red_mask, green_mask, blue_mask):
        shift = (mask & -mask).bit_length() - 1
        if mask >> shift != 0xFF or shift % 8:
            raise ValueError(f"unsupported colour mask {mask:#x}")
        offsets.append(shift // 8 if byte_order == 0 else step - 1 - shift // 8)
    start = header_size + ncolors * 12
    if len(data) < start + bytes_per_line * height:
        raise ValueError("xwd dump shorter than its pixels")
    rows = b"".join(data[start + y * bytes_per_line:start + y * bytes_per_line + width * step] for y in range(height))
    rgb = bytearray(width * height * 3)
    for channel, offset in enumerate(offsets):
        rgb[channel::3] = rows[offset::step]
    return Image(width, height, rgb)
