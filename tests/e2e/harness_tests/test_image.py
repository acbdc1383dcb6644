"""The screen picture decoder and PNG writer the end-to-end tests read pixels through."""

import struct
import tempfile
import unittest
import zlib
from pathlib import Path

from harness import image

RED, GREEN, BLUE = (255, 0, 0), (0, 255, 0), (0, 0, 255)


def zpixmap(pixels, width, *, byte_order=0, bits_per_pixel=32, masks=(0xFF0000, 0x00FF00, 0x0000FF), pad=0):
    """The arguments of from_zpixmap for RGB pixels (row by row), laid out as an X server sends them."""
    step = bits_per_pixel // 8
    height = len(pixels) // width
    rows = []
    for y in range(height):
        row = b""
        for r, g, b in pixels[y * width:(y + 1) * width]:
            value = 0
            for colour, mask in zip((r, g, b), masks):
                value |= colour << ((mask & -mask).bit_length() - 1)
            row += value.to_bytes(step, "little" if byte_order == 0 else "big")
        rows.append(row + b"\xAA" * pad)
    return dict(width=width, height=height, data=b"".join(rows), bytes_per_line=width * step + pad,
                bits_per_pixel=bits_per_pixel, byte_order=byte_order, masks=masks)


def png_rows(path):
    """Checks every chunk's CRC and returns the size and the unfiltered RGB rows of a PNG file."""
    data = Path(path).read_bytes()
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    pos, chunks = 8, []
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        assert crc == zlib.crc32(kind + body), kind
        chunks.append((kind, body))
        pos += 12 + length
    assert [k for k, _ in chunks] == [b"IHDR", b"IDAT", b"IEND"]
    width, height, depth, colour, _, _, _ = struct.unpack(">IIBBBBB", chunks[0][1])
    assert (depth, colour) == (8, 2)
    raw = zlib.decompress(chunks[1][1])
    stride = width * 3 + 1
    assert all(raw[y * stride] == 0 for y in range(height))
    return width, height, [raw[y * stride + 1:(y + 1) * stride] for y in range(height)]


class ZPixmapDecodingTest(unittest.TestCase):
    PIXELS = [RED, GREEN, BLUE, (1, 2, 3), (250, 128, 7), (0, 0, 0)]

    def test_layouts_of_the_x_server_decode_to_the_same_pixels(self):
        cases = {
            "32 bits, LSB first": dict(),
            "32 bits, MSB first": dict(byte_order=1),
            "24 bits per pixel": dict(bits_per_pixel=24),
            "24 bits, MSB first": dict(bits_per_pixel=24, byte_order=1),
            "padded rows": dict(pad=4),
            "BGR masks": dict(masks=(0x0000FF, 0x00FF00, 0xFF0000)),
        }
        for name, layout in cases.items():
            with self.subTest(name):
                picture = image.from_zpixmap(**zpixmap(self.PIXELS, 3, **layout))
                self.assertEqual((picture.width, picture.height), (3, 2))
                self.assertEqual([picture.pixel(x, y) for y in range(2) for x in range(3)], self.PIXELS)

    def test_invalid_pixmaps_are_refused(self):
        good = zpixmap(self.PIXELS, 3)
        cases = {
            "empty": dict(good, data=b""),
            "pixels cut short": dict(good, data=good["data"][:-1]),
            "rows shorter than the width": dict(good, bytes_per_line=8),
            "16 bits per pixel": zpixmap([(0, 0, 0)] * 6, 3, bits_per_pixel=16),
            "colours not byte-aligned": zpixmap([(0, 0, 0)] * 6, 3, masks=(0xF800, 0x07E0, 0x001F)),
        }
        for name, arguments in cases.items():
            with self.subTest(name), self.assertRaises(ValueError):
                image.from_zpixmap(**arguments)

    def test_pixels_outside_the_picture_are_refused(self):
        picture = image.from_zpixmap(**zpixmap(self.PIXELS, 3))
        for x, y in [(-1, 0), (3, 0), (0, 2), (0, -1)]:
            with self.subTest(point=(x, y)), self.assertRaises(IndexError):
                picture.pixel(x, y)


class ImageTest(unittest.TestCase):
    def test_png_holds_every_pixel_row_by_row(self):
        pixels = [RED, GREEN, BLUE, (9, 8, 7), (250, 128, 7), (0, 0, 0)]
        picture = image.Image(2, 3, b"".join(bytes(p) for p in pixels))
        with tempfile.TemporaryDirectory() as folder:
            path = Path(folder) / "p.png"
            picture.save_png(path)
            width, height, rows = png_rows(path)
        self.assertEqual((width, height), (2, 3))
        self.assertEqual(b"".join(rows), picture.rgb)

    def test_crop_keeps_the_chosen_rectangle(self):
        picture = image.Image(3, 2, b"".join(bytes(p) for p in [RED, GREEN, BLUE, (1, 1, 1), (2, 2, 2), (3, 3, 3)]))
        part = picture.crop(1, 0, 2, 2)
        self.assertEqual([part.pixel(x, y) for y in range(2) for x in range(2)],
                         [GREEN, BLUE, (2, 2, 2), (3, 3, 3)])

    def test_pixel_data_must_match_the_size(self):
        with self.assertRaises(ValueError):
            image.Image(2, 2, b"\0" * 11)


if __name__ == "__main__":
    unittest.main()
