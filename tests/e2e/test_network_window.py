"""The network window opens on the NETWORK click only on a channel, shows the channel's member pictures and
green cells, draws again when a member joins, and closes itself on channel 0."""

import unittest

from harness import WM_DESTROY, Client, terminate_on_sigterm
from harness.network import ReferenceNetwork
from harness.web import WebService

NETWORK_ZONE = (427, 387)
CLASS = "NetworkWndClass"
CHANNEL = 3
GREEN = (0, 255, 0)


def green_cells(shot, window):
    """Which of the 16 cells are green; cells 11 and 14, green here, place the grid."""
    greens = [(x, y) for y in range(window["y"], window["y"] + window["height"])
              for x in range(window["x"], window["x"] + window["width"]) if shot.pixel(x, y) == GREEN]
    left, top = max(x for x, _ in greens) - 278, max(y for _, y in greens) - 346
    return [all(shot.pixel(left + 71 * (cell % 4) + i, top + 88 * (cell // 4) + j) == GREEN
                for i in range(66) for j in range(83)) for cell in range(16)]


def expected_cells(pictures):
    # The client is listed too, without a picture (account 0): no cell, so the green ones end a cell short.
    return [False] * pictures + [True] * (15 - pictures) + [False]


class NetworkWindowTest(unittest.TestCase):
    def test_shows_the_channels_members_redraws_when_one_joins_and_closes_on_channel_0(self):
        terminate_on_sigterm()
        with ReferenceNetwork("network_window") as network, WebService("network_window") as web, \
                Client("network_window") as client:
            client.window_id(timeout=60)
            network.wait_for_client(channel=0)
            client.click(*NETWORK_ZONE)

            def drawn(accounts, name):
                """The window, once every member's picture has been fetched and its cells show them all."""
                client.session.wait_until(lambda: all(f"/users//images.php?F={a}&N=1" in
                                                      [t for _, t, _ in web.requests()] for a in accounts))
                window = client.probe.find(cls=CLASS, title="Zelvora Network")[0]
                expected = expected_cells(len(accounts))

                def shows_the_members():
                    try:
                        return green_cells(client.screenshot(name), window) == expected
                    except ValueError:  # no green yet to place the grid
                        return False

                client.session.wait_until(shows_the_members, timeout=10,
                                          what=f"the green cells of {len(accounts)} members")
                return window

            for account in (101, 102, 103):
                network.add_member(channel=CHANNEL, account=account)
            client.key(str(CHANNEL))
            network.wait_for_client(channel=CHANNEL)
            # The key was handled after the click on channel 0, whose window would have opened within it.
            self.assertEqual(client.probe.find(cls=CLASS), [])
            client.click(*NETWORK_ZONE)
            window = drawn((101, 102, 103), "three_members")
            self.assertEqual(window["width"], 315)
            network.add_member(channel=CHANNEL, account=104)
            drawn((101, 102, 103, 104), "four_members")

            client.key("0")
            client.session.wait_until(lambda: not client.probe.find(cls=CLASS), what="the window closed")
            client.probe.post("class:X", WM_DESTROY)
            self.assertEqual(client.wait_exit(30), 0)

