"""Animated GIF89a: one global 256-colour palette, LZW-coded frames, endless loop."""

import struct

MAX_CODE = 4096


# Palette --------------------------------------------------------------------------------------------


def _quantise_key(rgb):
    return ((rgb[0] >> 3) << 10) | ((rgb[1] >> 3) << 5) | (rgb[2] >> 3)


def median_cut_palette(frames, size=256):
    """A palette of at most size colours fitted to the pixels of all frames (lists of RGB tuples)."""
    histogram = {}
    for frame in frames:
        for rgb in frame:
            histogram[rgb] = histogram.get(rgb, 0) + 1
    boxes = [list(histogram.items())]
    while len(boxes) < size:
        best, best_range, best_channel = None, 0, 0
        for index, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for channel in range(3):
                values = [c[channel] for c, _ in box]
                spread = max(values) - min(values)
                if spread > best_range:
                    best, best_range, best_channel = index, spread, channel
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda item: item[0][best_channel])
        total = sum(n for _, n in box)
        running, cut = 0, 1
        for cut, (_, n) in enumerate(box, 1):
            running += n
            if running * 2 >= total:
                break
        cut = min(max(cut, 1), len(box) - 1)
        boxes += [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(int(round(sum(c[k] * n for c, n in box) / total)) for k in range(3)))
    return palette


def palette_indices(frame, palette, cache):
    """Map RGB pixels to the nearest palette entry (squared distance), memoised per 15-bit colour."""
    out = bytearray(len(frame))
    for i, rgb in enumerate(frame):
        key = _quantise_key(rgb)
        index = cache.get(key)
        if index is None:
            r, g, b = (rgb[0] | 4, rgb[1] | 4, rgb[2] | 4)
            index = min(range(len(palette)),
                        key=lambda k: (palette[k][0] - r) ** 2 + (palette[k][1] - g) ** 2 + (palette[k][2] - b) ** 2)
            cache[key] = index
        out[i] = index
    return bytes(out)


# LZW ------------------------------------------------------------------------------------------------


class _BitWriter:
    def __init__(self):
        self.data = bytearray()
        self.accumulator = 0
        self.count = 0

    def write(self, code, width):
        self.accumulator |= code << self.count
        self.count += width
        while self.count >= 8:
            self.data.append(self.accumulator & 0xFF)
            self.accumulator >>= 8
            self.count -= 8

    def finish(self):
        if self.count:
            self.data.append(self.accumulator & 0xFF)
        return bytes(self.data)


def lzw_encode(indices, min_code_size=8):
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    out = _BitWriter()
    width = min_code_size + 1
    table, next_code = {}, end + 1
    out.write(clear, width)
    prefix = indices[0]
    for symbol in indices[1:]:
        key = (prefix << 8) | symbol
        code = table.get(key)
        if code is not None:
            prefix = code
            continue
        out.write(prefix, width)
        if next_code < MAX_CODE:
            table[key] = next_code
            next_code += 1
            # The decoder adds its entries one code later, so it widens when it reaches the code just added.
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            out.write(clear, width)
            table, next_code, width = {}, end + 1, min_code_size + 1
        prefix = symbol
    out.write(prefix, width)
    out.write(end, width)
    return out.finish()


def lzw_decode(data, min_code_size=8):
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    out = bytearray()
    accumulator = count = position = 0
    width, table, previous = min_code_size + 1, None, None
    while True:
        while count < width:
            if position >= len(data):
                raise ValueError("LZW data ends without an end code")
            accumulator |= data[position] << count
            position += 1
            count += 8
        code = accumulator & ((1 << width) - 1)
        accumulator >>= width
        count -= width
        if code == clear:
            table = [bytes((i,)) for i in range(clear)] + [b"", b""]
            width, previous = min_code_size + 1, None
            continue
        if code == end:
            return bytes(out)
        if table is None:
            raise ValueError("LZW data does not start with a clear code")
        if code < len(table):
            entry = table[code]
            if previous is not None:
                table.append(previous + entry[:1])
        elif code == len(table) and previous is not None:
            entry = previous + previous[:1]
            table.append(entry)
        else:
            raise ValueError("LZW code %d out of range" % code)
        out += entry
        previous = entry
        if len(table) == (1 << width) and width < 12:
            width += 1
        if len(table) > MAX_CODE:
            raise ValueError("LZW table overflow")


# File -----------------------------------------------------------------------------------------------


def _sub_blocks(data):
    out = bytearray()
    for start in range(0, len(data), 255):
        chunk = data[start:start + 255]
        out += bytes((len(chunk),)) + chunk
    return bytes(out) + b"\x00"


def encode_gif(width, height, frames, delay):
    """frames: lists of RGB tuples in row order; delay: hundredths of a second per frame."""
    palette = median_cut_palette(frames)
    palette += [(0, 0, 0)] * (256 - len(palette))
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", width, height, 0xF7, 0, 0)  # global table of 256 colours
    out += b"".join(bytes(c) for c in palette)
    out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01" + struct.pack("<H", 0) + b"\x00"  # loop forever
    indexed, cache = [], {}
    for frame in frames:
        indices = palette_indices(frame, palette, cache)
        indexed.append(indices)
        out += b"\x21\xF9\x04" + struct.pack("<BHB", 0x04, delay, 0) + b"\x00"  # keep the frame, no transparency
        out += b"\x2C" + struct.pack("<HHHHB", 0, 0, width, height, 0)
        out += b"\x08" + _sub_blocks(lzw_encode(indices))
    out += b"\x3B"
    data = bytes(out)
    if decode_gif_indices(data) != (width, height, indexed, [delay] * len(frames)):
        raise AssertionError("the GIF does not decode to the frames it was made from")
    return data


def decode_gif_indices(data):
    """Width, height, frame indices and delays of a GIF as written by encode_gif."""
    if data[:6] != b"GIF89a":
        raise ValueError("not a GIF89a file")
    width, height, flags = struct.unpack_from("<HHB", data, 6)
    position = 13 + (3 << ((flags & 7) + 1) if flags & 0x80 else 0)
    frames, delays = [], []

    def blocks(at):
        payload = bytearray()
        while data[at]:
            payload += data[at + 1:at + 1 + data[at]]
            at += 1 + data[at]
        return bytes(payload), at + 1

    while True:
        marker = data[position]
        if marker == 0x3B:
            return width, height, frames, delays
        if marker == 0x21:
            label = data[position + 1]
            payload, position = blocks(position + 2)
            if label == 0xF9:
                delays.append(struct.unpack_from("<H", payload, 1)[0])
        elif marker == 0x2C:
            w, h, image_flags = struct.unpack_from("<HHB", data, position + 5)
            if (w, h) != (width, height) or image_flags:
                raise ValueError("unexpected image descriptor")
            min_code_size = data[position + 10]
            payload, position = blocks(position + 11)
            frames.append(lzw_decode(payload, min_code_size))
        else:
            raise ValueError("unexpected GIF block 0x%02X" % marker)
