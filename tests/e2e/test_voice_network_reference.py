"""The client against the reference network: it joins its channel, another member sees it in the channel's
list, and the member count of its channel reaches the channel panel."""

import socket
import threading
import time
import unittest

from harness import WM_DESTROY, Client, protocol, terminate_on_sigterm
from harness.network import ReferenceNetwork
from launcher.screen_reader import ScreenReader

from harness.protocol import SUPERVISOR_PORT, VOICE_PORT
STAND_IN_ACCOUNT = 0x1234
SIMULATED_ACCOUNTS = (501, 502)
OTHER_CHANNEL = 3
OTHER_CHANNEL_ACCOUNTS = (701, 702, 703)
# The count on the panel: "%d" in white bold Arial 14 at (160, 168), client coordinates.
COUNT_ZONE = (160, 168, 24, 16)
# A member list reaches the panel within two list cycles (the current channel is asked every other
# supervisor cycle, of at most 1.4 s) and one 500 ms repaint; how long that takes is the supervisor's native
# test, so the panel is waited for with room for a loaded machine.
PANEL_TIMEOUT = 20.0
LIST_PHASE_REPLIES = 2  # the client's own channel and the next channel of its poll


class StandInClient:
    """A second member of channel 0: a presence stream from its own voice socket, and list requests."""

    def __init__(self):
        self._voice = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self._voice.bind(("127.0.0.1", 0))
        self.address = "%s:%d" % self._voice.getsockname()
        self._running = True
        self._thread = threading.Thread(target=self._send_presence, daemon=True)
        self._thread.start()

    def _send_presence(self):
        presence = protocol.presence(STAND_IN_ACCOUNT)
        while self._running:
            self._voice.sendto(presence, ("127.0.0.1", VOICE_PORT))
            time.sleep(0.02)

    def list_of(self, channel):
        """The accounts of a channel's members, as its supervisor port lists them."""
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as supervisor:
            supervisor.settimeout(2)
            supervisor.sendto(protocol.LIST_REQUEST, ("127.0.0.1", SUPERVISOR_PORT + channel))
            reply = supervisor.recv(1024)
        return protocol.read_list_reply(reply)[1]

    def close(self):
        self._running = False
        self._thread.join()
        self._voice.close()


def has_white_text(rgb):
    return any(rgb[i:i + 3] == b"\xff\xff\xff" for i in range(0, len(rgb), 3))


class MemberCountTest(unittest.TestCase):
    def setUp(self):
        self.stand_in = None

    def tearDown(self):
        if self.stand_in:
            self.stand_in.close()

    def test_member_lists_reach_the_network_the_other_member_and_the_channel_panel(self):
        with ReferenceNetwork("member_count") as network, Client("member_count") as client, \
                ScreenReader(client.display.name) as grabber:
            x, y, _, _ = client.display.geometry(client.window_id(timeout=60))
            zone = (x + COUNT_ZONE[0], y + COUNT_ZONE[1], COUNT_ZONE[2], COUNT_ZONE[3])

            def count_picture():
                return grabber.grab(*zone).rgb

            def wait_for_panel(condition, what):
                deadline = time.monotonic() + PANEL_TIMEOUT
                while not condition(count_picture()):
                    if time.monotonic() > deadline:
                        client.screenshot(f"failed_{what.replace(' ', '_')}")
                        self.fail(f"the channel panel did not show {what} within {PANEL_TIMEOUT} s")
                    time.sleep(0.1)
                client.screenshot(what.replace(" ", "_"))

            def lists_answered():
                """Two more of the client's list phases (its channel and one polled channel each), the first of
                them a whole supervisor cycle ago: the panel has painted what they said."""
                answered = network.counters()["list-replies"] + 2 * LIST_PHASE_REPLIES
                client.session.wait_until(lambda: network.counters()["list-replies"] >= answered, timeout=30,
                                          what="two list phases answered")

            # The client's presence keeps it listed all along: the network would drop it after 3 s of silence, and
            # it joins only twice (channel 0, then 3), the last check below.
            wine_client = network.wait_for_client(0)[0]
            # The panel shows 0 until the first list: its own channel's list answered comes first.
            lists_answered()
            wait_for_panel(has_white_text, "1 member")
            alone = count_picture()

            # A stand-in client and two simulated members join: 4 in all, the Wine client first.
            self.stand_in = StandInClient()
            network.wait_for_client(0, count=2)
            for account in SIMULATED_ACCOUNTS:
                network.add_member(0, account)
            self.assertEqual(self.stand_in.list_of(0), [wine_client.account, STAND_IN_ACCOUNT, *SIMULATED_ACCOUNTS],
                             "the other member sees the Wine client, in arrival order")
            wait_for_panel(lambda picture: picture != alone, "more members")
            lists_answered()  # past a list caught while they were still joining
            four = count_picture()
            self.assertNotEqual(four, alone)
            lists_answered()
            self.assertEqual(count_picture(), four, "the count holds")

            # Channel 3 holds three simulated members: after the digit key the client is the fourth there.
            for account in OTHER_CHANNEL_ACCOUNTS:
                network.add_member(OTHER_CHANNEL, account)
            client.key(str(OTHER_CHANNEL))
            moved = network.wait_for_client(OTHER_CHANNEL)
            self.assertEqual([m.address for m in moved], [wine_client.address])
            self.assertNotIn(wine_client.address, [m.address for m in network.clients(0)], "it left channel 0")
            self.assertEqual(len(self.stand_in.list_of(OTHER_CHANNEL)), 4)
            # Channel 0 showed 4 as well: only a list of channel 3 answered makes the same picture its count.
            lists_answered()
            wait_for_panel(lambda crop: crop == four, "4 members of channel 3")

            # They leave: the client is alone again.
            for account in OTHER_CHANNEL_ACCOUNTS:
                network.remove_member(OTHER_CHANNEL, account)
            wait_for_panel(lambda crop: crop == alone, "1 member of channel 3")

            client.probe.post("class:X", WM_DESTROY)
            self.assertEqual(client.wait_exit(30), 0)
        self.assertEqual(network.exit_code, 0)
        joins = [line for line in network.log_lines() if " join " in line and wine_client.address in line]
        self.assertEqual(len(joins), 2, "joined channel 0, then channel 3")


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
