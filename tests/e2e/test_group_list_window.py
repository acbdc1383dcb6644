"""The group list window opens on the channel panel's click, leaves the keyboard to the main window, fills
row by row with each channel's member pictures (one without a picture leaves no gap), and closes on the
second click."""

import unittest

from harness import WM_DESTROY, Client, terminate_on_sigterm
from harness.network import ReferenceNetwork
from harness.web import WebService

CHANNEL_PANEL = (100, 135)
CLASS = "GroupWndClass"
MEMBERS = {1: (101, 999, 102), 2: (103,)}  # seed members have pictures, 999 has none
PICTURED_SLOTS = {1: (True, True, False), 2: (True, False)}
FULL_POLL_REQUESTS = 24  # every channel's list: 11 list phases of two requests


def marked_row(shot, window):
    """The client origin and the row, from the red marker of the row just refreshed: at (width - 35, 51 x row - 30),
    the caption shorter than a row. None before the first row is refreshed."""
    left, top, width = window["x"], window["y"], window["width"]
    for y in range(top, top + window["height"]):
        for x in range(left + width - 60, left + width):
            if shot.pixel(x, y) == (255, 0, 0):
                origin = (x - (width - 35), top + (y - top - 21) % 51)
                return origin, (y - origin[1] + 30) // 51
    return None


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
            served = lambda: {target: status for _, target, status in web.requests()}
            client.session.wait_until(lambda: "/users//images.php?F=103&N=1" in served(), what="row 2")
            self.assertEqual(client.display.focused(), main_id)
            self.assertEqual([served().get(f"/users//images.php?F={a}&N=1") for a in (101, 999, 102, 103)],
                             [200, 404, 200, 200])
            window = client.probe.find(cls=CLASS, title="Zelvora Group List")[0]
            self.assertEqual((window["width"], window["height"]), (666, 650))
            # A picture is drawn once its body is read and decoded, after the request shows served; the marker
            # moves on to a row only once that row is drawn.
            drawn = []

            def row_2_drawn():
                shot = client.screenshot("group_list")
                marked = marked_row(shot, window)
                if marked and marked[1] >= 2:
                    drawn.append((shot, marked[0]))
                return drawn

            client.session.wait_until(row_2_drawn, timeout=10, what="the marker past row 2")
            shot, (x, y) = drawn[0]
            for row, slots in PICTURED_SLOTS.items():
                for slot, pictured in enumerate(slots):
                    cyan = [shot.pixel(x + 20 + 38 * slot + i, y + 51 * row - 41 + j) == (0, 255, 255)
                            for i in range(33) for j in range(41)]
                    self.assertEqual(all(cyan), not pictured, (row, slot))

            client.click(*CHANNEL_PANEL)
            client.session.wait_until(lambda: not client.probe.find(cls=CLASS), what="the window closed")
            client.probe.post("class:X", WM_DESTROY)
            self.assertEqual(client.wait_exit(30), 0)

