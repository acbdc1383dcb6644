"""Screen pictures: decoded from the X server's pixels, written as PNG, and queried pixel by pixel."""

import struct
import zlib


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


def from_zpixmap(width, height, data, bytes_per_line, bits_per_pixel, byte_order, masks):
    """Decodes a TrueColor ZPixmap with one byte per colour, as the X server gives it: rows of
    `bytes_per_line` bytes, pixels of 24 or 32 bits in `byte_order` (0 least significant byte first), and the
    red, green and blue masks of its visual."""
    if bits_per_pixel not in (24, 32):
        raise ValueError(f"unsupported pixel size: {bits_per_pixel} bits")
    step = bits_per_pixel // 8
    if bytes_per_line < width * step or len(data) < bytes_per_line * height:
        raise ValueError("pixel data shorter than its size")
    offsets = []
    for mask in masks:
        shift = (mask & -mask).bit_length() - 1
        if mask >> shift != 0xFF or shift % 8:
            raise ValueError(f"unsupported colour mask {mask:#x}")
        offsets.append(shift // 8 if byte_order == 0 else step - 1 - shift // 8)
    rows = b"".join(data[y * bytes_per_line:y * bytes_per_line + width * step] for y in range(height))
    rgb = bytearray(width * height * 3)
    for channel, offset in enumerate(offsets):
        rgb[channel::3] = rows[offset::step]
    return Image(width, height, rgb)
