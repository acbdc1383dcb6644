"""The main window: centred, 550 x 730, rounded, outlined in yellow, its title animation playing; the start-up
chime plays."""

import time
import unittest

from harness import WINDOW_HEIGHT, WINDOW_WIDTH, Client, paths, terminate_on_sigterm
from launcher.screen_reader import ScreenReader

ANIMATION_ZONE = (350, 450, 150, 150)  # x, y, width, height


def is_yellow(rgb):
    r, g, b = rgb
    return r > 200 and g > 200 and b < 80


def inside(rects, x, y):
    return any(rx <= x < rx + w and ry <= y < ry + h for rx, ry, w, h in rects)


def gif_frames_and_first_delay(data):
    """The number of frames of a GIF file and its first frame's delay in seconds."""
    flags = data[10]
    at = 13 + (3 << ((flags & 7) + 1) if flags & 0x80 else 0)  # past the header and the global colours
    frames, delays = 0, []
    while data[at] != 0x3B:
        if data[at] == 0x21:  # an extension: the graphic control one carries the delay in hundredths
            if data[at + 1] == 0xF9:
                delays.append(int.from_bytes(data[at + 4:at + 6], "little") / 100)
            at += 2
        else:  # an image: its descriptor, its own colours, the LZW code size
            flags = data[at + 9]
            at += 11 + (3 << ((flags & 7) + 1) if flags & 0x80 else 0)
            frames += 1
        while data[at]:  # data sub-blocks
            at += data[at] + 1
        at += 1
    return frames, delays[0]


def animation_cycle(grabber, zone, timeout):
    """Seconds between a picture of the zone and its return after other pictures (a picture caught halfway
    through painting never returns)."""
    first_seen, previous = {}, None
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        now = time.monotonic()
        picture = grabber.grab(*zone).rgb
        if picture != previous and picture in first_seen:
            return now - first_seen[picture]
        first_seen.setdefault(picture, now)
        previous = picture
    raise AssertionError(f"no picture of the animation came back within {timeout} s ({len(first_seen)} seen)")


class MainWindowTest(unittest.TestCase):
    def test_window_is_centred_rounded_and_outlined_in_yellow(self):
        with Client("main_window") as client:
            window = client.window_id(timeout=30)
            display = client.display
            left = display.width // 2 - WINDOW_WIDTH // 2
            top = display.height // 2 - WINDOW_HEIGHT // 2
            self.assertEqual(display.geometry(window), (left, top, WINDOW_WIDTH, WINDOW_HEIGHT))
            main = client.main_window()
            self.assertEqual((main["x"], main["y"], main["width"], main["height"]),
                             (left, top, WINDOW_WIDTH, WINDOW_HEIGHT))

            # The window region: 20 x 20 rounded corners cut off, straight edges kept.
            shape = display.shape(window)
            right, bottom = WINDOW_WIDTH - 2, WINDOW_HEIGHT - 2
            for x, y in [(0, 0), (2, 2), (right, 0), (right - 2, 2), (0, bottom), (2, bottom - 2), (right, bottom),
                         (right - 2, bottom - 2)]:
                with self.subTest(outside_corner=(x, y)):
                    self.assertFalse(inside(shape, x, y), shape[:3])
            for x, y in [(10, 0), (WINDOW_WIDTH // 2, 0), (0, 10), (0, WINDOW_HEIGHT // 2), (right, WINDOW_HEIGHT // 2),
                         (WINDOW_WIDTH // 2, bottom), (5, 5), (right - 5, bottom - 5)]:
                with self.subTest(inside=(x, y)):
                    self.assertTrue(inside(shape, x, y), shape[:3])

            # The 4-pixel yellow outline runs inside every edge, once the timers have painted the panels.
            middle_x, middle_y = left + WINDOW_WIDTH // 2, top + WINDOW_HEIGHT // 2
            edges = {
                "top": [(middle_x, top + d) for d in range(4)],
                "bottom": [(middle_x, top + WINDOW_HEIGHT - 1 - d) for d in range(4)],
                "left": [(left + d, middle_y) for d in range(4)],
                "right": [(left + WINDOW_WIDTH - 1 - d, middle_y) for d in range(4)],
            }

            def outlined():
                shot = client.screenshot("main_window")
                return [edge for edge, points in edges.items() if not any(is_yellow(shot.pixel(x, y))
                                                                          for x, y in points)] == []

            client.session.wait_until(outlined, timeout=10, what="the yellow outline along every edge")

            # Every frame is shown for the first frame's delay (TitleAnimationTiming), so the pictures come round once
            # per cycle: a loaded machine only slows it, and a cycle far shorter would be delays read as milliseconds.
            frames, delay = gif_frames_and_first_delay((paths.RUN_DIR / "electron-animation.gif").read_bytes())
            x, y, width, height = ANIMATION_ZONE
            with ScreenReader(display.name) as grabber:
                cycle = animation_cycle(grabber, (left + x, top + y, width, height), timeout=30)
            self.assertGreater(cycle, 0.5 * frames * delay)

    def test_meters_and_knobs_are_painted(self):
        with Client("meters_and_knobs") as client:
            main = client.main_window(timeout=30)
            meters = {w["class"]: w for w in client.probe.windows(main["hwnd"])}
            for cls, x in [("VuMeterLeftClass", 200), ("VuMeterRightClass", 370)]:
                with self.subTest(meter=cls):
                    meter = meters[cls]
                    self.assertEqual((meter["x"] - main["x"], meter["y"] - main["y"], meter["width"],
                                      meter["height"]), (x, 80, 150, 84))
            # The knob painter's first tick, after a second, draws each knob's first dot, blue, straight below
            # its centre.
            knobs = (25, 115, 205)

            def knobs_drawn():
                shot = client.screenshot("meters_and_knobs")
                return all(shot.pixel(main["x"] + x + 32, main["y"] + 252 + 30) == (0, 0, 255) for x in knobs)

            client.session.wait_until(knobs_drawn, timeout=10, what="the knobs' first dots")
            shot = client.screenshot("meters_and_knobs")
            at = lambda x, y: shot.pixel(main["x"] + x, main["y"] + y)
            # The faces are light; the empty bars are white under them.
            for x in (200, 370):
                with self.subTest(face=x):
                    r, g, b = at(x + 20, 100)
                    self.assertTrue(r > 180 and g > 160 and b > 100, (r, g, b))
                    self.assertEqual(at(x + 75, 170), (255, 255, 255))
            # The orange arrow somewhere on the level knobs.
            for x in knobs[1:]:
                with self.subTest(arrow=x):
                    knob = [at(x + dx, 220 + dy) for dx in range(64) for dy in range(64)]
                    self.assertTrue(any(r > 200 and g > 120 and b < 80 for r, g, b in knob))

    def test_start_up_chime_is_played(self):
        with Client("chime") as client:
            client.window_id(timeout=30)
            client.session.wait_until(lambda: any(client.sound.speaker_bytes()), timeout=10,
                                      what="a sound on the speaker")
            self.assertEqual(client.probe.message_boxes(), [], "no failure box")


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
