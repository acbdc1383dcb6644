#!/usr/bin/env python3
"""Packs BMP files into the light container "mini_leds.bmf".

Layout, little-endian: the entry count N (u32), then N entries of 40 bytes (a 32-byte
zero-terminated name, the u32 offset of the entry's data from the start of the file and
its u32 length), then the data, each entry a complete BMP file. Entries are named after
their files and keep the order of the command line; the client loads at most 20.
"""

import argparse
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from picture_files import check_bmp  # noqa: E402

MAX_ENTRIES = 20
NAME_SIZE = 32
ENTRY_SIZE = 40


def pack(entries):
    """entries: (name, BMP bytes) pairs; returns the container's bytes."""
    if not 0 < len(entries) <= MAX_ENTRIES:
        raise ValueError("a container holds 1 to %d entries" % MAX_ENTRIES)
    names = [name.encode("ascii") for name, _ in entries]
    if len(set(names)) != len(names) or any(not name or len(name) >= NAME_SIZE or b"\0" in name
                                            for name in names):
        raise ValueError("entry names must be distinct, non-empty and at most %d bytes" % (NAME_SIZE - 1))
    header = bytearray(struct.pack("<I", len(entries)))
    offset = 4 + ENTRY_SIZE * len(entries)
    for name, (_, data) in zip(names, entries):
        check_bmp(data)
        header += name.ljust(NAME_SIZE, b"\0") + struct.pack("<II", offset, len(data))
        offset += len(data)
    return bytes(header) + b"".join(data for _, data in entries)


def unpack(container):
    """The (name, data) pairs of a container, checking every bound on the way."""
    if len(container) < 4:
        raise ValueError("container shorter than its count")
    (count,) = struct.unpack_from("<I", container)
    if count > MAX_ENTRIES or 4 + ENTRY_SIZE * count > len(container):
        raise ValueError("container count %d does not fit" % count)
    out = []
    for k in range(count):
        at = 4 + ENTRY_SIZE * k
        raw_name = container[at:at + NAME_SIZE]
        if b"\0" not in raw_name:
            raise ValueError("entry %d name is not terminated" % k)
        offset, length = struct.unpack_from("<II", container, at + NAME_SIZE)
        if offset + length > len(container):
            raise ValueError("entry %d lies outside the container" % k)
        out.append((raw_name.split(b"\0", 1)[0].decode("ascii"), container[offset:offset + length]))
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output", help="container file to write")
    parser.add_argument("bitmaps", nargs="+", help="BMP files, entry names are their file names")
    args = parser.parse_args()
    entries = []
    for path in args.bitmaps:
        with open(path, "rb") as f:
            entries.append((os.path.basename(path), f.read()))
    container = pack(entries)
    if unpack(container) != entries:
        raise AssertionError("the container does not read back as packed")
    with open(args.output, "wb") as f:
        f.write(container)


if __name__ == "__main__":
    main()
