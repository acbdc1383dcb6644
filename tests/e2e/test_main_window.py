"""The main window: centred, 550 x 730, rounded, outlined in yellow; the start-up chime plays."""

import time
import unittest

from harness import WINDOW_HEIGHT, WINDOW_WIDTH, Client, terminate_on_sigterm


def is_yellow(rgb):
    r, g, b = rgb
    return r > 200 and g > 200 and b < 80


def inside(rects, x, y):
    return any(rx <= x < rx + w and ry <= y < ry + h for rx, ry, w, h in rects)


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

            time.sleep(2)  # the timers paint the panels after the first paint
            shot = client.screenshot("main_window")
            # The 4-pixel yellow outline runs inside every edge.
            middle_x, middle_y = left + WINDOW_WIDTH // 2, top + WINDOW_HEIGHT // 2
            edges = {
                "top": [(middle_x, top + d) for d in range(4)],
                "bottom": [(middle_x, top + WINDOW_HEIGHT - 1 - d) for d in range(4)],
                "left": [(left + d, middle_y) for d in range(4)],
                "right": [(left + WINDOW_WIDTH - 1 - d, middle_y) for d in range(4)],
            }
            for edge, points in edges.items():
                with self.subTest(edge=edge):
                    self.assertTrue(any(is_yellow(shot.pixel(x, y)) for x, y in points),
                                    [shot.pixel(x, y) for x, y in points])

    def test_start_up_chime_is_played(self):
        with Client("chime") as client:
            client.window_id(timeout=30)
            client.session.wait_until(lambda: any(client.sound.speaker_bytes()), timeout=10,
                                      what="a sound on the speaker")
            self.assertEqual(client.probe.message_boxes(), [], "no failure box")


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
