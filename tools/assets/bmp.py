"""24-bit uncompressed BMP files, bottom-up, as LoadImageW and CreateDIBitmap expect them."""

import struct

FILE_HEADER_SIZE = 14
INFO_HEADER_SIZE = 40


def encode_bmp(canvas):
    width, height = canvas.width, canvas.height
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = canvas.rgb(x, y)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        pixels += row
    offset = FILE_HEADER_SIZE + INFO_HEADER_SIZE
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    # 2835 pixels per metre is 72 dpi; the value is informative only.
    info_header = struct.pack("<IiiHHIIiiII", INFO_HEADER_SIZE, width, height, 1, 24, 0, len(pixels), 2835, 2835,
                              0, 0)
    data = file_header + info_header + bytes(pixels)
    check_bmp(data, width, height)
    return data


def check_bmp(data, width=None, height=None):
    """Raise ValueError unless data is a complete 24-bit bottom-up BMP (of the given size)."""
    if len(data) < FILE_HEADER_SIZE + INFO_HEADER_SIZE or data[:2] != b"BM":
        raise ValueError("not a BMP file")
    file_size, offset = struct.unpack_from("<I4xI", data, 2)
    header_size, w, h, planes, bits, compression = struct.unpack_from("<IiiHHI", data, FILE_HEADER_SIZE)
    if file_size != len(data) or header_size != INFO_HEADER_SIZE or planes != 1 or bits != 24 or compression:
        raise ValueError("unexpected BMP header")
    if w <= 0 or h <= 0 or (width is not None and (w, h) != (width, height)):
        raise ValueError("unexpected BMP size %dx%d" % (w, h))
    if offset + ((w * 3 + 3) & ~3) * h != len(data):
        raise ValueError("BMP pixel data does not match its size")

