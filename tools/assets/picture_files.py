"""Writes the drawn canvases as the files the client loads, with Pillow, and reads each file back to check it.

BMP: 24-bit, bottom-up, 40-byte information header (what LoadImageW and the light container's
CreateDIBitmap take). GIF: one palette of 256 colours fitted to every frame, the same delay on every
frame, endless loop. ICO: one 32-bit image with alpha per size.
"""

import io
import struct

from PIL import Image

BMP_INFO_HEADER_SIZE = 40


def rgb_image(canvas):
    """The canvas as shown on black."""
    picture = Image.new("RGB", (canvas.width, canvas.height))
    picture.putdata([canvas.rgb(x, y) for y in range(canvas.height) for x in range(canvas.width)])
    return picture


def rgba_image(canvas):
    picture = Image.new("RGBA", (canvas.width, canvas.height))
    picture.putdata([canvas.pixel(x, y) for y in range(canvas.height) for x in range(canvas.width)])
    return picture


def _same_pixels(a, b):
    return a.size == b.size and a.mode == b.mode and a.tobytes() == b.tobytes()


# BMP ------------------------------------------------------------------------------------------------


def bmp_bytes(canvas):
    picture = rgb_image(canvas)
    out = io.BytesIO()
    # 72 dpi, as 2835 pixels per metre; the value is informative only.
    picture.save(out, "BMP", dpi=(72, 72))
    data = out.getvalue()
    check_bmp(data)
    if not _same_pixels(Image.open(io.BytesIO(data)), picture):
        raise AssertionError("a BMP does not read back as drawn")
    return data


def check_bmp(data):
    """Raise ValueError unless data is a complete BMP laid out as the client reads it."""
    try:
        picture = Image.open(io.BytesIO(data))
        picture.load()
    except (OSError, SyntaxError) as error:
        raise ValueError("not a readable BMP file: %s" % error) from None
    header_size, _, height, _, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if picture.format != "BMP" or header_size != BMP_INFO_HEADER_SIZE or bits != 24 or compression or height <= 0:
        raise ValueError("not a 24-bit bottom-up BMP with a %d-byte header" % BMP_INFO_HEADER_SIZE)


# GIF ------------------------------------------------------------------------------------------------


def median_cut_palette(frames, size=256):
    """A palette of at most size colours fitted to the pixels of all frames (lists of RGB tuples): the box of
    colours with the widest channel is cut at its median, weighted by pixel count, until there are enough."""
    histogram = {}
    for frame in frames:
        for rgb in frame:
            histogram[rgb] = histogram.get(rgb, 0) + 1
    boxes = [list(histogram.items())]
    while len(boxes) < size:
        best, best_range, best_channel = None, 0, 0
        for index, box in enumerate(boxes):
            for channel in range(3):
                values = [c[channel] for c, _ in box]
                if max(values) - min(values) > best_range:
                    best, best_range, best_channel = index, max(values) - min(values), channel
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda item: item[0][best_channel])
        total, running, cut = sum(n for _, n in box), 0, 1
        for cut, (_, n) in enumerate(box, 1):
            running += n
            if running * 2 >= total:
                break
        cut = min(max(cut, 1), len(box) - 1)
        boxes += [box[:cut], box[cut:]]
    return [tuple(int(round(sum(c[k] * n for c, n in box) / sum(n for _, n in box))) for k in range(3))
            for box in boxes]


def palette_indices(frame, palette, cache):
    """Each RGB pixel's nearest palette entry, chosen once per 15-bit colour from the middle of its cell."""
    out = bytearray(len(frame))
    for i, (r, g, b) in enumerate(frame):
        key = (r >> 3, g >> 3, b >> 3)
        if key not in cache:
            centre = (r | 4, g | 4, b | 4)
            cache[key] = min(range(len(palette)), key=lambda k: sum((p - c)**2 for p, c in zip(palette[k], centre)))
        out[i] = cache[key]
    return bytes(out)


def gif_bytes(width, height, frames, delay):
    """frames: lists of RGB tuples in row order; delay: hundredths of a second per frame."""
    palette = median_cut_palette(frames)
    palette += [(0, 0, 0)] * (256 - len(palette))
    flat = [c for rgb in palette for c in rgb]
    pictures, cache = [], {}
    for frame in frames:
        picture = Image.new("P", (width, height))
        picture.putpalette(flat)
        picture.putdata(palette_indices(frame, palette, cache))
        pictures.append(picture)
    out = io.BytesIO()
    # Each frame is drawn over the one before (disposal 1), so Pillow may store only what changed.
    pictures[0].save(out, "GIF", save_all=True, append_images=pictures[1:], duration=delay * 10, loop=0,
                     disposal=1, palette=bytes(flat))
    data = out.getvalue()

    animation = Image.open(io.BytesIO(data))
    if animation.n_frames != len(frames) or animation.info.get("loop") != 0:
        raise AssertionError("the GIF does not hold every frame in an endless loop")
    for k, picture in enumerate(pictures):
        animation.seek(k)
        if animation.info.get("duration") != delay * 10:
            raise AssertionError("GIF frame %d does not last %d hundredths" % (k, delay))
        if not _same_pixels(animation.convert("RGB"), picture.convert("RGB")):
            raise AssertionError("GIF frame %d does not read back as drawn" % k)
    return data


# ICO ------------------------------------------------------------------------------------------------


def ico_bytes(canvases):
    """One square image per size, each at most 256 pixels."""
    pictures = sorted((rgba_image(c) for c in canvases), key=lambda p: p.width)
    if any(p.width != p.height or p.width > 256 for p in pictures):
        raise ValueError("icon images must be square and at most 256 pixels")
    out = io.BytesIO()
    pictures[-1].save(out, "ICO", sizes=[p.size for p in pictures], append_images=pictures[:-1])
    data = out.getvalue()

    icon = Image.open(io.BytesIO(data))
    if icon.info.get("sizes") != {p.size for p in pictures}:
        raise AssertionError("the icon holds sizes %s" % sorted(icon.info.get("sizes")))
    for picture in pictures:
        if not _same_pixels(icon.ico.getimage(picture.size).convert("RGBA"), picture):
            raise AssertionError("the %dx%d icon does not read back as drawn" % picture.size)
    return data
