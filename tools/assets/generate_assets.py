#!/usr/bin/env python3
"""Makes the client's installation pictures, its program icons and the six light bitmaps.

Draws with its own anti-aliased shapes and writes the files with Pillow (python3-pil); deterministic:
the same script always writes the same pixels. The light bitmaps are packed into the light container
by pack_light_container.py.
"""

import argparse
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import app_icons  # noqa: E402
import atom_animation  # noqa: E402
import channel_art  # noqa: E402
import knobs  # noqa: E402
import lights  # noqa: E402
import meter_face  # noqa: E402
import small_icons  # noqa: E402
from picture_files import bmp_bytes, gif_bytes, ico_bytes  # noqa: E402

ICON_FILES = {"zelvora.ico": app_icons.large_icon, "zelvora_small.ico": app_icons.small_icon}


def check_knob(canvas):
    """The knob must survive any rotation about its centre and its arrow must point up."""
    centre = canvas.width / 2
    for y in range(canvas.height):
        for x in range(canvas.width):
            if math.hypot(x + 0.5 - centre, y + 0.5 - centre) > centre - 1 and canvas.rgb(x, y) != (0, 0, 0):
                raise AssertionError("a knob reaches into the corners that a rotation cuts off")


def check_arrow_points_up(canvas):
    centre = canvas.width // 2
    above, below = canvas.rgb(centre, centre - 18), canvas.rgb(centre, centre + 18)
    if not (above[0] > 200 and above[2] < 100) or below[0] - below[2] > 40:
        raise AssertionError("the knob arrow must point straight up in the file")


def run_pictures():
    """(file name, canvas) of every bitmap of the run directory."""
    arrow, params = knobs.arrow_knob(), knobs.params_knob()
    for knob in (arrow, params):
        check_knob(knob)
    check_arrow_points_up(arrow)
    background = channel_art.panel_background()
    # Sizes the painters rely on: meter window, channel panel, icon zones, knob zones and label row.
    pictures = [("btn-fleche.bmp", arrow, (64, 64)), ("btn-param.bmp", params, (64, 64)),
                ("doc_img.bmp", small_icons.documentation_icon(), (30, 30)),
                ("synthe_1.bmp", small_icons.synthesiser_icon(), (32, 32)),
                ("vu_meter_2.bmp", meter_face.meter_face(), (150, 84)), ("0.bmp", background, (180, 110))]
    pictures += [("%d.bmp" % channel, channel_art.channel_number(channel, background), (90, 60))
                 for channel in range(1, 11)]
    for name, canvas, size in pictures:
        if (canvas.width, canvas.height) != size:
            raise AssertionError("%s is %dx%d" % (name, canvas.width, canvas.height))
    return [(name, canvas) for name, canvas, _ in pictures]


def light_pictures():
    out = []
    for name, (edge, core) in lights.LIGHTS.items():
        canvas = lights.light(edge, core)
        lights.check_light(canvas)
        out.append((name, canvas))
    return out


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--run-dir", required=True, help="folder of the client's installation files")
    parser.add_argument("--icon-dir", required=True, help="folder of the program icons for the resource script")
    parser.add_argument("--light-dir", required=True, help="folder of the light bitmaps to pack")
    args = parser.parse_args()
    for folder in (args.run_dir, args.icon_dir, args.light_dir):
        os.makedirs(folder, exist_ok=True)

    for name, canvas in run_pictures():
        write(os.path.join(args.run_dir, name), bmp_bytes(canvas))
    animation = gif_bytes(atom_animation.SIZE, atom_animation.SIZE, atom_animation.frames(), atom_animation.DELAY)
    write(os.path.join(args.run_dir, "electron-animation.gif"), animation)
    for name, make in ICON_FILES.items():
        write(os.path.join(args.icon_dir, name), ico_bytes(make()))
    for name, canvas in light_pictures():
        write(os.path.join(args.light_dir, name), bmp_bytes(canvas))


if __name__ == "__main__":
    main()
