"""The time-left display counts down once a second from 01:14:59, and a key release starts it again."""

import time
import unittest

from harness import Client, terminate_on_sigterm
from launcher.screen_reader import ScreenReader

# The time text is drawn in yellow at (455, 270), "TIME LEFT" under it at (455, 293); client coordinates.
TIME_ZONE = (455, 270, 70, 16)
LABEL_ZONE = (455, 293, 70, 16)
TICKS_BEFORE_RELEASE = 4  # 01:14:59 down to 01:14:56


def is_yellow(rgb):
    r, g, b = rgb
    return r > 200 and g > 200 and b < 80


def has_pixel(image, condition):
    return any(condition(image.pixel(x, y)) for y in range(image.height) for x in range(image.width))


class TimeLeftDisplay:
    """Pictures of the time zone every 50 ms. A display is a picture seen in two screenshots in
    a row (one seen once may have been caught halfway through painting); each is reported once, with the
    time it was first seen, shortly after the tick that drew it."""

    def __init__(self, client, grabber):
        self._grabber = grabber
        x, y, _, _ = client.display.geometry(client.window_id(timeout=60))
        self._zone = (x + TIME_ZONE[0], y + TIME_ZONE[1], TIME_ZONE[2], TIME_ZONE[3])
        self._label_zone = (x + LABEL_ZONE[0], y + LABEL_ZONE[1], LABEL_ZONE[2], LABEL_ZONE[3])
        self._previous = None
        self._shown = None

    def next_displays(self, count, timeout):
        """The next `count` displays that differ from the one before: (time first seen, picture)."""
        found = []
        deadline = time.monotonic() + timeout
        while len(found) < count:
            if time.monotonic() > deadline:
                raise TimeoutError(f"{len(found)} of {count} countdown displays after {timeout} s")
            seen = time.monotonic()
            crop = self._grabber.grab(*self._zone)
            if crop.rgb == self._previous and crop.rgb != self._shown and has_pixel(crop, is_yellow):
                found.append((seen, crop))
                self._shown = crop.rgb
            self._previous = crop.rgb
            time.sleep(0.05)
        return found

    def displays_until(self, picture, timeout):
        """The displays up to and including the next one that shows `picture`."""
        found = []
        deadline = time.monotonic() + timeout
        while not found or found[-1][1].rgb != picture:
            left = deadline - time.monotonic()
            if left <= 0:
                raise TimeoutError(f"the display did not come back to the picture within {timeout} s")
            found += self.next_displays(1, timeout=left)
        return found

    def label(self):
        return self._grabber.grab(*self._label_zone)


class TimeLeftTest(unittest.TestCase):
    def test_counts_down_each_second_and_restarts_at_a_key_release(self):
        with Client("time_left") as client, ScreenReader(client.display.name) as grabber:
            display = TimeLeftDisplay(client, grabber)
            countdown = display.next_displays(TICKS_BEFORE_RELEASE, timeout=30)
            client.screenshot("counting_down")
            self.assertTrue(has_pixel(display.label(), lambda rgb: rgb == (255, 255, 255)), "TIME LEFT is drawn")
            pictures = [crop.rgb for _, crop in countdown]
            self.assertEqual(len(set(pictures)), TICKS_BEFORE_RELEASE, "every second shows another time")
            # Once a second on average: a tick handled late on a loaded machine shortens the next interval.
            mean = (countdown[-1][0] - countdown[0][0]) / (len(countdown) - 1)
            self.assertGreater(mean, 0.5)
            self.assertLess(mean, 2.0)

            # A key release restarts the countdown: the first time shown comes back at a tick after it (a loaded
            # machine may handle the release a tick late), then the one after it. Without a restart it never
            # comes back.
            client.key("0")  # channel 0, where the client already is: only the release counts
            restarted = display.displays_until(pictures[0], timeout=30) + display.next_displays(1, timeout=5)
            client.screenshot("after_key_release")
            for i, (_, crop) in enumerate(countdown + restarted):
                crop.save_png(client.session.artifacts / f"display_{i}.png")
            self.assertEqual(restarted[-1][1].rgb, pictures[1], "then the next second")
            self.assertTrue(client.running())
            self.assertEqual(client.probe.message_boxes(), [])


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
