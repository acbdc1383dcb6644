"""The main window: centred, 550 x 730, with rounded corners and a yellow outline; the chime plays."""

import time
import unittest

from harness import WINDOW_HEIGHT, WINDOW_WIDTH, Client, terminate_on_sigterm

WHITE = (255, 255, 255)


def is_yellow(rgb):
    r, g, b = rgb
    return r > 200 and g > 200 and b < 80


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

            time.sleep(2)  # the timers paint the panels after the first paint
            shot = client.screenshot("main_window")
            right, bottom = left + WINDOW_WIDTH - 1, top + WINDOW_HEIGHT - 1
            # Outside the 20 x 20 rounded corners the white root window shows through.
            for x, y in [(left, top), (left + 1, top + 1), (right, top), (right - 1, top + 1), (left, bottom),
                         (left + 1, bottom - 1), (right, bottom), (right - 1, bottom - 1)]:
                with self.subTest(corner=(x - left, y - top)):
                    self.assertEqual(shot.pixel(x, y), WHITE)
            # The 4-pixel yellow outline runs along every edge, inside the window.
            for x, y in [(left + WINDOW_WIDTH // 2, top), (left + WINDOW_WIDTH // 2, bottom),
                         (left, top + WINDOW_HEIGHT // 2), (right, top + WINDOW_HEIGHT // 2)]:
                with self.subTest(edge=(x - left, y - top)):
                    self.assertTrue(is_yellow(shot.pixel(x, y)), shot.pixel(x, y))
            # And nothing of the window lies beyond it.
            self.assertEqual(shot.pixel(left - 1, top + WINDOW_HEIGHT // 2), WHITE)
            self.assertEqual(shot.pixel(right + 1, top + WINDOW_HEIGHT // 2), WHITE)

    def test_start_up_chime_is_played(self):
        with Client("chime") as client:
            client.window_id(timeout=30)
            client.session.wait_until(lambda: any(client.sound.speaker_bytes()), timeout=10,
                                      what="a sound on the speaker")
            self.assertEqual(client.probe.message_boxes(), [], "no failure box")


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
