"""A click on the synthesiser icon starts the companion synthesiser and says so in the status line; the next
one asks it to close."""

import shutil
import unittest

from harness import WINDOW_CLASS, Client, terminate_on_sigterm
from harness.paths import WINDOWS_BUILD

STAND_IN = WINDOWS_BUILD / "tests" / "win32" / "peripherals" / "Vocaline.exe"
SYNTHESISER_ICON = (31, 24)
STATUS_FRAME = (10, 650, 540, 720)  # left, top, right, bottom, client coordinates
FRAME_OUTLINE = 6  # the frame's own yellow outline, inside its edges
YELLOW = (255, 255, 0)
STARTED = "Le synth\u00e9tiseur est lanc\u00e9"


def inside_outline(rows):
    return [row[FRAME_OUTLINE:-FRAME_OUTLINE] for row in rows[FRAME_OUTLINE:-FRAME_OUTLINE]]


def status_ink(image, window):
    """The status line's yellow pixels inside the frame's outline, as the probe's text_ink shows ink."""
    left, top, right, bottom = STATUS_FRAME
    return inside_outline(["".join("#" if image.pixel(window["clientX"] + x, window["clientY"] + y) == YELLOW else "."
                                   for x in range(left, right)) for y in range(top, bottom)])


class SynthesiserToggleTest(unittest.TestCase):
    def test_first_click_starts_the_synthesiser_and_the_second_stops_it(self):
        with Client("synthesiser_toggle") as client:
            folder = client.session.prefix / "drive_c" / "Program Files" / "Zelvora"
            folder.mkdir(parents=True, exist_ok=True)
            shutil.copy(STAND_IN, folder / "Vocaline.exe")
            log = client.program.cwd / "vocaline.log"

            window = client.main_window(timeout=60)
            expected = inside_outline(client.probe.text_ink(f"class:{WINDOW_CLASS}", STATUS_FRAME, STARTED))
            self.assertIn("#", "".join(expected), "the probe drew no text")
            client.click(*SYNTHESISER_ICON)
            client.session.wait_until(lambda: log.is_file() and "started" in log.read_text(), timeout=60,
                                      what="the synthesiser to start")

            def reads_started():
                return status_ink(client.screenshot("started"), window) == expected

            client.session.wait_until(reads_started, timeout=10, what=f"the status line to read {STARTED!r}")

            client.click(*SYNTHESISER_ICON)
            client.screenshot("stopping")
            client.session.wait_until(lambda: "stop" in log.read_text(), timeout=30,
                                      what="the synthesiser to receive the stop datagram")
            self.assertEqual(log.read_text().split(), ["started", "stop"])


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
