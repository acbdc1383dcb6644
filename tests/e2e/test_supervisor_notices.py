"""The supervisor's notices, sent by the reference network's operator: the update notice opens the
installer page, which downloads the setup program, and closes the client; the closing notice shows its
window and closes the client when the window goes, by itself after 20 s or earlier when dismissed."""

import re
import time
import unittest
import urllib.request

from harness import WINDOW_CLASS, Client, paths, terminate_on_sigterm
from harness.network import ReferenceNetwork
from harness.web import WebService
from launcher.paths import setup_program

CAPTION = "Info du Superviseur"
UPDATE_TEXT = "Votre application doit \u00eatre mise \u00e0 jour"
CLOSING_TEXT = "Le superviseur va fermer\nautomatiquement votre application\ndans 20 secondes"
NOTICE_CLASS = "CustomDialog"
# From the status request that carries the notice to the window: one supervisor cycle, and a loaded machine's margin.
NOTICE_DEADLINE = 20
NOTICE_LIFETIME = 20.0


def site_url():
    """The network web site's address the client was built with."""
    cache = (paths.WINDOWS_BUILD / "CMakeCache.txt").read_text()
    return re.search(r"^ZELVORA_SITE_URL:\w+=(.*)$", cache, re.MULTILINE).group(1)


def black_share(shot, window):
    """The share of black pixels in the window's client area on the screenshot (its frame is the window
    manager's, and there is none on the private display)."""
    border = window["clientX"] - window["x"]
    area = shot.crop(window["clientX"], window["clientY"], window["width"] - 2 * border,
                     window["height"] - (window["clientY"] - window["y"]) - border)
    pixels = [area.pixel(x, y) for y in range(area.height) for x in range(area.width)]
    return pixels.count((0, 0, 0)) / len(pixels)


class SupervisorNoticeTest(unittest.TestCase):
    def _start(self, name):
        """The network and a client that has joined it and been tagged with a relay byte."""
        network = self.enterContext(ReferenceNetwork(name))
        client = self.enterContext(Client(name))
        main = client.main_window(timeout=60)
        tagged = network.wait_for_client(0)[0]
        self.assertGreater(tagged.relay, 0)
        # The supervisor asks again only once a reply is handled: the third reply shows the first two did nothing.
        answered = network.counters()["status-replies"] + 3
        client.session.wait_until(lambda: network.counters()["status-replies"] >= answered, timeout=30,
                                  what="three status replies with that relay byte")
        self.assertEqual(client.probe.message_boxes(), [])
        return network, client, main

    def _closing_notice_window(self, network, client, main):
        """The closing notice's window, and the time just before the notice was sent: the window, and its own
        time, start after it."""
        sent = time.monotonic()
        network.notice(240)
        window = client.probe.wait_for(cls=NOTICE_CLASS, title=CAPTION, timeout=NOTICE_DEADLINE)
        self.assertEqual(window["owner"], main["hwnd"])
        self.assertEqual((window["x"], window["y"], window["width"], window["height"]),
                         (main["x"] + 20, main["y"] + 20, 400, 200))
        texts = [(c["class"], c["title"]) for c in client.probe.windows(window["hwnd"]) if c["visible"]]
        self.assertEqual(texts, [("Static", CLOSING_TEXT)])
        network.wait_for_log(lambda line: "notice 240 delivered" in line, timeout=5)
        client.screenshot("closing_notice")
        return window, sent

    def test_update_notice_box_then_installer_download_then_exit(self):
        # The site on the port the client is built for, serving the setup program this build made.
        self.enterContext(WebService("update_notice", setup_program=setup_program(), site_port=30080))
        network, client, main = self._start("update_notice")
        network.notice(220)
        box = client.probe.wait_message_box(caption=CAPTION, timeout=NOTICE_DEADLINE)
        self.assertEqual(box["text"], UPDATE_TEXT)
        self.assertEqual(box["owner"], main["hwnd"], "owned by the main window")
        network.wait_for_log(lambda line: "notice 220 delivered" in line, timeout=5)
        # Found by the probe, the box may not be painted yet: it must come to read where it lies over the main
        # window (a box left black never does).
        client.session.wait_until(lambda: black_share(client.display.screenshot(), box) < 0.5, timeout=10,
                                  what="the box to read on the screen where it lies over the main window")
        client.screenshot("update_notice")
        self.assertTrue(client.running(), "the client waits for the box")
        self.assertEqual(client.session.opened_urls(), [], "nothing opened before OK")

        client.probe.press(box["hwnd"])
        self.assertEqual(client.wait_exit(30), 0)
        # The shell hands the address to the browser stand-in, which may record it after the client is gone.
        client.session.wait_until(client.session.opened_urls, timeout=10, what="an address opened")
        self.assertEqual(client.session.opened_urls(), [site_url() + "/installer.php"])
        direct = urllib.request.build_opener(urllib.request.ProxyHandler({}))
        with direct.open(client.session.opened_urls()[0], timeout=30) as download:
            self.assertEqual(download.read(), setup_program().read_bytes(), "the setup program, byte for byte")

    def test_closing_notice_dismissed_early_closes_the_client_at_once(self):
        network, client, main = self._start("closing_notice_dismissed")
        window, sent = self._closing_notice_window(network, client, main)
        self.assertTrue(client.running())
        client.probe.close(window["hwnd"])
        self.assertEqual(client.wait_exit(NOTICE_LIFETIME), 0)
        self.assertLess(time.monotonic() - sent, NOTICE_LIFETIME, "before the window's own time")
        self.assertEqual(client.session.opened_urls(), [])

    def test_closing_notice_closes_itself_and_the_client_after_20_seconds(self):
        network, client, main = self._start("closing_notice_timed_out")
        window, sent = self._closing_notice_window(network, client, main)
        shown_now = [(w["class"], w["hwnd"]) for w in client.probe.windows() if w["visible"]]
        self.assertIn((WINDOW_CLASS, main["hwnd"]), shown_now, "the main window stays with it")
        # Closing before its time would end the client early too.
        self.assertEqual(client.wait_exit(NOTICE_LIFETIME + 10), 0)
        # Less a second for the rounding of the window's timer to the system's tick.
        self.assertGreater(time.monotonic() - sent, NOTICE_LIFETIME - 1)


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
