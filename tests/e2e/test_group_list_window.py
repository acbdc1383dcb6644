"""The group list window: a click on the channel panel opens it out of the main window, which keeps the
keyboard; it fills row by row with the pictures of each channel's members, a member without a picture
leaving no gap; a second click closes it."""

import unittest

from harness import WM_DESTROY, Client, terminate_on_sigterm
from harness.network import ReferenceNetwork
from harness.web import WebService

CHANNEL_PANEL = (100, 135)
CLASS = "GroupWndClass"
MEMBERS = {1: (101, 999, 102), 2: (103,)}  # seed members have pictures, 999 has none
PICTURED_SLOTS = {1: (True, True, False), 2: (True, False)}
FULL_POLL_REQUESTS = 24  # every channel's list: 11 list phases of two requests


def picture_path(account):
    return f"/users//images.php?F={account}&N=1"


def client_origin(shot, window):
    """From the red marker of the row just refreshed: 35 pixels in from the window's width, 11 below a row's
    top, rows being 51 apart and the caption shorter than a row."""
    left, top, width = window["x"], window["y"], window["width"]
    for y in range(top, top + window["height"]):
        for x in range(left + width - 60, left + width):
            if shot.pixel(x, y) == (255, 0, 0):
                return x - (width - 35), top + (y - top - 21) % 51
    raise AssertionError("no row marker")


class GroupListWindowTest(unittest.TestCase):
    def test_opens_on_the_channel_panel_fills_its_rows_and_closes_on_the_second_click(self):
        terminate_on_sigterm()
        with ReferenceNetwork("group_list") as network, WebService("group_list") as web, \
                Client("group_list") as client:
            main_id = client.window_id(timeout=60)
            network.wait_for_client(channel=0)
            for channel, accounts in MEMBERS.items():
                for account in accounts:
                    network.add_member(channel=channel, account=account)
            polled = network.counters()["list-requests"] + FULL_POLL_REQUESTS
            client.session.wait_until(lambda: network.counters()["list-requests"] >= polled, timeout=40)

            client.display.focus(main_id)
            client.click(*CHANNEL_PANEL)
            self.assertEqual(client.probe.wait_for(cls=CLASS)["owner"], client.main_window()["hwnd"])
            client.session.wait_until(lambda: picture_path(103) in [t for _, t, _ in web.requests()],
                                      what="the second row's pictures")
            self.assertEqual(client.display.focused(), main_id)
            served = {target: status for _, target, status in web.requests()}
            self.assertEqual([served.get(picture_path(a)) for a in (101, 999, 102, 103)], [200, 404, 200, 200])
            window = client.probe.find(cls=CLASS, title="Zelvora Group List")[0]
            self.assertEqual((window["width"], window["height"]), (666, 650))
            shot = client.screenshot("group_list")
            x, y = client_origin(shot, window)
            for row, slots in PICTURED_SLOTS.items():
                for slot, pictured in enumerate(slots):
                    cyan = [shot.pixel(x + 20 + 38 * slot + i, y + 51 * row - 41 + j) == (0, 255, 255)
                            for i in range(33) for j in range(41)]
                    self.assertEqual(all(cyan), not pictured, (row, slot))

            client.click(*CHANNEL_PANEL)
            client.session.wait_until(lambda: not client.probe.find(cls=CLASS), what="the window closed")
            client.probe.post("class:X", WM_DESTROY)
            self.assertEqual(client.wait_exit(30), 0)


if __name__ == "__main__":
    unittest.main()
