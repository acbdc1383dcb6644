"""The network window against the reference network and web service: the NETWORK click opens it only on a
channel; it shows the channel's members' pictures followed by green cells, draws again when a member joins,
and closes itself when the user returns to channel 0."""

import time
import unittest

from harness import WM_DESTROY, Client, terminate_on_sigterm
from harness.network import ReferenceNetwork
from harness.web import WebService

NETWORK_ZONE = (427, 387)  # client coordinates of the main window
CLASS = "NetworkWndClass"
CHANNEL = 3
MEMBERS = (101, 102, 103)
JOINING = 104
GREEN = (0, 255, 0)


def picture_path(account):
    return f"/users//images.php?F={account}&N=1"


def cell_origin(origin, cell):
    return origin[0] + 10 + 71 * (cell % 4), origin[1] + 10 + 88 * (cell // 4)


def green_cells(shot, origin):
    def green(cell):
        x, y = cell_origin(origin, cell)
        return all(shot.pixel(x + i, y + j) == GREEN for i in range(66) for j in range(83))
    return [green(cell) for cell in range(16)]


def expected_cells(pictures):
    """The client is listed too, without a picture (account 0): it takes no cell, so the green cells end one
    short of the grid's last."""
    return [False] * pictures + [True] * (15 - pictures) + [False]


def green_origin(shot, window):
    """The client origin, from the green cells: the topmost green row and leftmost green column both lie 10
    pixels inside it while the first row holds a green cell and some row starts with one."""
    left, top, width, height = window["x"], window["y"], window["width"], window["height"]
    greens = [(x, y) for y in range(top, top + height) for x in range(left, left + width)
              if shot.pixel(x, y) == GREEN]
    return min(x for x, _ in greens) - 10, min(y for _, y in greens) - 10


class NetworkWindowTest(unittest.TestCase):
    def setUp(self):
        terminate_on_sigterm()

    def served(self, web, account):
        return picture_path(account) in [target for _, target, _ in web.requests()]

    def test_shows_the_channels_members_redraws_when_one_joins_and_closes_on_channel_0(self):
        with ReferenceNetwork("network_window") as network, WebService("network_window") as web, \
                Client("network_window") as client:
            client.window_id(timeout=60)
            network.wait_for_client(channel=0)
            client.click(*NETWORK_ZONE)
            time.sleep(2)  # the opening would have run within the click
            self.assertEqual(client.probe.find(cls=CLASS), [])

            for account in MEMBERS:
                network.add_member(channel=CHANNEL, account=account)
            client.key(str(CHANNEL))
            network.wait_for_client(channel=CHANNEL)
            client.click(*NETWORK_ZONE)
            client.probe.wait_for(cls=CLASS, timeout=20)
            client.session.wait_until(lambda: all(self.served(web, a) for a in MEMBERS), timeout=20,
                                      what="the members' pictures")
            window = client.probe.find(cls=CLASS)[0]  # grown by now: the first tick follows the opening
            self.assertEqual((window["title"], window["width"]), ("Zelvora Network", 315))
            time.sleep(0.5)  # the last picture's drawing and the green cells after it
            shot = client.screenshot("network_three_members")
            origin = green_origin(shot, window)
            self.assertEqual(green_cells(shot, origin), expected_cells(3))

            network.add_member(channel=CHANNEL, account=JOINING)
            client.session.wait_until(lambda: self.served(web, JOINING), timeout=20, what="the joining member")
            time.sleep(0.5)
            shot = client.screenshot("network_four_members")
            self.assertEqual(green_cells(shot, origin), expected_cells(4))

            client.key("0")
            client.session.wait_until(lambda: not client.probe.find(cls=CLASS), timeout=10,
                                      what="the network window closed")
            client.probe.post("class:X", WM_DESTROY)
            self.assertEqual(client.wait_exit(30), 0)


if __name__ == "__main__":
    unittest.main()
