"""Channel keys: where presence and list requests go, and the member count the channel panel shows, read off
the screen against stand-in peers and against the reference network."""

import threading
import time
import unittest

from harness import Client, UdpPeer, protocol, terminate_on_sigterm
from harness.network import ReferenceNetwork
from harness.protocol import SUPERVISOR_PORT, VOICE_PORT, is_list_request, is_presence

MEMBER_COUNT_AREA = (160, 168, 29, 14)  # x, y, width, height: up to the panel's frame
VERSION_AREA = (480, 605, 50, 14)  # "0.7.7", drawn in the member count's font and colours


class GlyphReader:
    """Reads white text on the background as ink: its bright grey pixels, trimmed to their bounding box. Glyphs of
    one font compare equal wherever they are drawn."""

    @staticmethod
    def ink(shot, origin, area):
        x0, y0, width, height = area
        rows = [tuple(min(p) > 100 and max(p) - min(p) < 30 for p in
                      (shot.pixel(origin[0] + x0 + x, origin[1] + y0 + y) for x in range(width)))
                for y in range(height)]
        return GlyphReader._trimmed(rows)

    @staticmethod
    def _trimmed(rows):
        filled = [i for i, row in enumerate(rows) if any(row)]
        if not filled:
            return ()
        rows = rows[filled[0]:filled[-1] + 1]
        columns = [x for x in range(len(rows[0])) if any(row[x] for row in rows)]
        return tuple(row[columns[0]:columns[-1] + 1] for row in rows)

    @staticmethod
    def glyphs(ink):
        """The ink split into its connected shapes, left to right; shapes sharing columns make one glyph.
        Anti-aliased neighbours such as "." and "7" may share no empty column, yet never touch."""
        height, width = len(ink), len(ink[0]) if ink else 0
        seen, shapes = set(), []
        for x0 in range(width):
            for y0 in range(height):
                if not ink[y0][x0] or (x0, y0) in seen:
                    continue
                shape, stack = set(), [(x0, y0)]
                seen.add((x0, y0))
                while stack:
                    x, y = stack.pop()
                    shape.add((x, y))
                    for nx in (x - 1, x, x + 1):
                        for ny in (y - 1, y, y + 1):
                            if 0 <= nx < width and 0 <= ny < height and ink[ny][nx] and (nx, ny) not in seen:
                                seen.add((nx, ny))
                                stack.append((nx, ny))
                shapes.append(shape)
        groups = []
        for shape in sorted(shapes, key=lambda points: min(x for x, _ in points)):
            left, right = min(x for x, _ in shape), max(x for x, _ in shape)
            if groups and left <= groups[-1][1]:
                groups[-1] = (groups[-1][0], max(right, groups[-1][1]), groups[-1][2] | shape)
            else:
                groups.append((left, right, shape))
        return [GlyphReader._trimmed([tuple((x, y) in points for x in range(width)) for y in range(height)])
                for _, _, points in groups]

    @staticmethod
    def ends_with(ink, glyph):
        """Whether the last columns of the ink are the glyph, with more ink before it."""
        width = len(glyph[0])
        return (len(ink) == len(glyph) and len(ink[0]) > width and
                tuple(row[-width:] for row in ink) == glyph)

    @staticmethod
    def is_minus(glyph):
        return len(glyph) <= 3 and len(glyph[0]) >= 3


class Digits:
    """The digits that the version "0.7.7" shows, as glyphs of the member count's font."""

    def __init__(self, shot, origin):
        glyphs = GlyphReader.glyphs(GlyphReader.ink(shot, origin, VERSION_AREA))
        if len(glyphs) != 5 or glyphs[2] != glyphs[4]:
            raise AssertionError(f"the version does not read as 0.7.7: {len(glyphs)} glyphs")
        self.zero, self.seven = glyphs[0], glyphs[2]


class AnsweringSupervisor:
    """Stands in for the supervisor of one channel: answers every list request with `members` accounts, or
    keeps silent while `members` is None."""

    def __init__(self, peer, channel, members=None):
        self._peer = peer
        self._channel = channel
        self.members = members
        self._answered = 0
        self._running = True
        self._thread = threading.Thread(target=self._answer, daemon=True)
        self._thread.start()

    def _answer(self):
        while self._running:
            requests = [d for d in self._peer.datagrams() if is_list_request(d)]
            for request in requests[self._answered:]:
                if self.members is not None:
                    self._peer.reply(request, protocol.list_reply(self._channel, self.members))
            self._answered = len(requests)
            time.sleep(0.02)

    def close(self):
        self._running = False
        self._thread.join()


def read_count(client, origin, name=None):
    """The ink of the member count."""
    shot = client.screenshot(name) if name else client.display.screenshot()
    return GlyphReader.ink(shot, origin, MEMBER_COUNT_AREA)


def reads_minus_one(count):
    glyphs = GlyphReader.glyphs(count)
    return len(glyphs) == 2 and GlyphReader.is_minus(glyphs[0]) and not GlyphReader.is_minus(glyphs[1])


def reads_ten(count, digits):
    """Among counts of at most 16 members, only 10 ends in a zero after another digit."""
    if not GlyphReader.ends_with(count, digits.zero):
        return False
    before = GlyphReader.glyphs(tuple(row[:-len(digits.zero[0])] for row in count))
    return len(before) == 1 and not GlyphReader.is_minus(before[0])


class ChannelKeysTest(unittest.TestCase):
    def test_keys_move_presence_and_list_requests_and_the_count_reads_minus_one_until_the_reply(self):
        voice_ports = [VOICE_PORT, VOICE_PORT + 3, VOICE_PORT + 5, VOICE_PORT + 10]
        voice = {port: UdpPeer(port) for port in voice_ports}
        supervisors = {channel: UdpPeer(SUPERVISOR_PORT + channel) for channel in (0, 5)}
        answering = {0: AnsweringSupervisor(supervisors[0], 0, members=list(range(101, 108))),
                     5: AnsweringSupervisor(supervisors[5], 5)}
        try:
            with Client("window_channel_keys") as client:
                client.window_id(timeout=30)
                main = client.main_window()
                origin = (main["x"], main["y"])
                voice[VOICE_PORT].wait_for(is_presence, timeout=30)
                digits = Digits(client.screenshot("channel_0"), origin)
                client.session.wait_until(lambda: read_count(client, origin) == digits.seven, timeout=10,
                                          what="the count 7 of channel 0")

                client.key("5")
                pressed = time.monotonic()
                client.session.wait_until(lambda: reads_minus_one(read_count(client, origin)), timeout=10,
                                          what="the count -1 after the key")
                count = read_count(client, origin, "channel_5_unanswered")
                self.check_moved(voice, VOICE_PORT + 5, pressed)
                # The current channel's list is asked for every other cycle of 0.7 to 1.4 s; channel 5's own
                # turn in the poll of all channels comes only every 22 cycles.
                supervisors[5].wait_for(lambda d: is_list_request(d) and d.time > pressed, count=2, timeout=20)
                self.assertEqual(read_count(client, origin), count, "no reply, no count")

                answering[5].members = [201]
                client.session.wait_until(lambda: read_count(client, origin) == GlyphReader.glyphs(count)[1], timeout=10,
                                          what="the count 1 of channel 5")

                # The keypad: digits with NumLock on (a key of no use to the client, so it says so), and plus for
                # channel 10.
                client.key("Num_Lock")
                client.probe.press(client.probe.wait_message_box("Info Clavier", timeout=10)["hwnd"])
                for key, port in [("KP_Next", VOICE_PORT + 3), ("KP_Add", VOICE_PORT + 10), ("0", VOICE_PORT)]:
                    with self.subTest(key=key):
                        client.key(key)
                        self.check_moved(voice, port, time.monotonic())
                client.session.wait_until(lambda: read_count(client, origin) == digits.seven, timeout=10,
                                          what="the count 7 of channel 0 again")
                client.key("Escape")
                self.assertEqual(client.wait_exit(30), 0)
        finally:
            for supervisor in answering.values():
                supervisor.close()
            for peer in [*voice.values(), *supervisors.values()]:
                peer.close()

    def check_moved(self, voice, port, pressed):
        """Presence reaches the new port at once, and no other port once it has (arrival times are the
        kernel's, so they keep the order the one presence thread sent in)."""
        arrived = voice[port].wait_for(lambda d: is_presence(d) and d.time > pressed, count=10, timeout=15)
        for other, peer in voice.items():
            if other != port:
                late = [d for d in peer.datagrams() if is_presence(d) and d.time > arrived[0].time]
                self.assertEqual(late, [], f"presence still reaches port {other}")


class ReferenceNetworkCountTest(unittest.TestCase):
    def test_the_panel_shows_the_member_count_the_network_reports(self):
        with ReferenceNetwork("window_channel_count") as network, Client("window_channel_count") as client:
            client.window_id(timeout=30)
            main = client.main_window()
            origin = (main["x"], main["y"])
            network.wait_for_client(channel=0)
            for account in range(101, 107):
                network.add_member(channel=0, account=account)
            for account in range(201, 210):
                network.add_member(channel=5, account=account)
            self.assertEqual(len([m for m in network.members() if m.channel == 0]), 7)
            digits = Digits(client.screenshot("channel_0"), origin)
            client.session.wait_until(lambda: read_count(client, origin) == digits.seven, timeout=10,
                                      what="the count 7 that the network reports for channel 0")

            client.key("5")
            client.session.wait_until(lambda: network.clients(channel=5), timeout=10,
                                      what="the client listed on channel 5")
            self.assertEqual(network.clients(channel=0), [])
            self.assertEqual(len([m for m in network.members() if m.channel == 5]), 10)
            # "10": among counts of at most 16 members, the only two glyphs that end in a zero.
            client.session.wait_until(lambda: reads_ten(read_count(client, origin), digits), timeout=10,
                                      what="the count 10 that the network reports for channel 5")
            read_count(client, origin, "channel_5")
            client.key("Escape")
            self.assertEqual(client.wait_exit(30), 0)


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
