"""The group list window against the reference network and web service: a click on the channel panel opens
it out of the main window, which keeps the keyboard; it fills row by row with the pictures of each channel's
members, a member without a picture leaving no gap; a second click closes it."""

import unittest

from harness import WM_DESTROY, Client, terminate_on_sigterm
from harness.network import ReferenceNetwork
from harness.web import WebService

CHANNEL_PANEL = (100, 135)  # client coordinates of the main window
CLASS = "GroupWndClass"
# Accounts 101 to 105 are seed members with pictures; 999 has none.
MEMBERS = {1: (101, 999, 102), 2: (103,)}
SLOTS = {1: (True, True, False), 2: (True, False)}  # a picture in each slot, in order
CYAN = (0, 255, 255)
RED = (255, 0, 0)
# One poll of every channel's list takes 11 list phases, two list requests each.
FULL_POLL_REQUESTS = 24


def picture_path(account):
    return f"/users//images.php?F={account}&N=1"


def row_top(row):
    return 51 * row - 41


def slot_is_cyan(shot, origin, row, slot):
    x, y = origin[0] + 20 + 38 * slot, origin[1] + row_top(row)
    return all(shot.pixel(x + i, y + j) == CYAN for i in range(33) for j in range(41))


def client_origin(shot, window):
    """The window's client origin, from the red marker of the row just refreshed: 35 pixels in from the
    window's width and 11 below a row's top, rows being 51 apart and the caption shorter than a row."""
    left, top, width, height = window["x"], window["y"], window["width"], window["height"]
    for y in range(top, top + height):
        for x in range(left + width - 60, left + width):
            if shot.pixel(x, y) == RED:
                origin_x = x - (width - 35)
                origin_y = top + (y - top - 21) % 51
                return origin_x, origin_y
    raise AssertionError("no row marker")


class GroupListWindowTest(unittest.TestCase):
    def setUp(self):
        terminate_on_sigterm()

    def test_opens_on_the_channel_panel_fills_its_rows_and_closes_on_the_second_click(self):
        with ReferenceNetwork("group_list") as network, WebService("group_list") as web, \
                Client("group_list") as client:
            main_id = client.window_id(timeout=60)
            network.wait_for_client(channel=0)
            for channel, accounts in MEMBERS.items():
                for account in accounts:
                    network.add_member(channel=channel, account=account)
            polled = network.counters()["list-requests"] + FULL_POLL_REQUESTS
            client.session.wait_until(lambda: network.counters()["list-requests"] >= polled, timeout=40,
                                      what="a poll of every channel's list")

            client.display.focus(main_id)
            client.click(*CHANNEL_PANEL)
            window = client.probe.wait_for(cls=CLASS, timeout=20)
            self.assertEqual(window["title"], "Zelvora Group List")
            self.assertEqual(window["owner"], client.main_window()["hwnd"])
            client.session.wait_until(lambda: picture_path(103) in [t for _, t, _ in web.requests()],
                                      timeout=20, what="the second row's pictures")
            self.assertEqual(client.display.focused(), main_id)
            window = client.probe.find(cls=CLASS)[0]
            self.assertEqual((window["width"], window["height"]), (666, 650))
            served = {target: status for _, target, status in web.requests()}
            self.assertEqual([served.get(picture_path(a)) for a in (101, 999, 102, 103)], [200, 404, 200, 200])

            shot = client.screenshot("group_list")
            origin = client_origin(shot, window)
            for row, slots in SLOTS.items():
                for slot, has_picture in enumerate(slots):
                    self.assertEqual(slot_is_cyan(shot, origin, row, slot), not has_picture, (row, slot))

            client.click(*CHANNEL_PANEL)
            client.session.wait_until(lambda: not client.probe.find(cls=CLASS), timeout=10,
                                      what="the group list closed")
            client.probe.post("class:X", WM_DESTROY)
            self.assertEqual(client.wait_exit(30), 0)


if __name__ == "__main__":
    unittest.main()
