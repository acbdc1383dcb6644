"""A click on the synthesiser icon starts the companion synthesiser; the next one asks it to close."""

import shutil
import unittest

from harness import Client, terminate_on_sigterm
from harness.paths import WINDOWS_BUILD

STAND_IN = WINDOWS_BUILD / "tests" / "win32" / "peripherals" / "Vocaline.exe"
SYNTHESISER_ICON = (31, 24)
STATUS_FRAME = (10, 650, 540, 720)
YELLOW = (255, 255, 0)


def yellow_pixels(image, window):
    left, top, right, bottom = STATUS_FRAME
    return sum(1 for y in range(top, bottom) for x in range(left, right)
               if image.pixel(window["x"] + x, window["y"] + y) == YELLOW)


class SynthesiserToggleTest(unittest.TestCase):
    def test_first_click_starts_the_synthesiser_and_the_second_stops_it(self):
        with Client("synthesiser_toggle") as client:
            folder = client.session.prefix / "drive_c" / "Program Files" / "Zelvora"
            folder.mkdir(parents=True, exist_ok=True)
            shutil.copy(STAND_IN, folder / "Vocaline.exe")
            log = client.program.cwd / "vocaline.log"

            window = client.main_window(timeout=60)
            client.click(*SYNTHESISER_ICON)
            client.session.wait_until(lambda: log.is_file() and "started" in log.read_text(), timeout=60,
                                      what="the synthesiser to start")
            self.assertGreater(yellow_pixels(client.screenshot("started"), window), 0, "no status text in the frame")

            client.click(*SYNTHESISER_ICON)
            client.screenshot("stopping")
            client.session.wait_until(lambda: "stop" in log.read_text(), timeout=30,
                                      what="the synthesiser to receive the stop datagram")
            self.assertEqual(log.read_text().split(), ["started", "stop"])


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
