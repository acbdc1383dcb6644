"""The status panel's error-level lights, the NETWORK ring (and the space bar's talk state it shows) and the two
foreground lights, read off the screen."""

import math
import struct
import subprocess
import threading
import time
import unittest

from harness import Client, UdpPeer, protocol, terminate_on_sigterm
from harness import paths
from launcher.screen_reader import ScreenReader

LIGHT_SIZE = 14
RED, DARK_RED, GREEN, YELLOW, BLUE, DARK_BLUE = 1, 2, 3, 4, 5, 6
LIGHT_ENTRIES = {RED: "LedRed.bmp", DARK_RED: "LedDarkRed.bmp", GREEN: "LedGreen.bmp", YELLOW: "LedYellow.bmp",
                 BLUE: "LedBlue.bmp", DARK_BLUE: "LedDarkBlue.bmp"}
COLOUR_NAMES = {RED: "red", DARK_RED: "dark red", GREEN: "green", YELLOW: "yellow", BLUE: "blue",
                DARK_BLUE: "dark blue", None: "no light"}

ERROR_LEVEL_LIGHTS = [(420, 220), (438, 220), (456, 220), (474, 220), (492, 220)]
FOREGROUND_LIGHTS = [(125, 18), (409, 18)]
TST_LIGHT = (420, 270)


def ring_light_positions():
    """Light i of the NETWORK ring, in single precision as the client computes it."""
    f32 = lambda v: struct.unpack("f", struct.pack("f", v))[0]
    positions = []
    for i in range(16):
        theta = f32(f32(2 * math.pi) - f32(i * f32(math.pi / 8)))
        positions.append((420 + math.trunc(f32(40 * f32(math.sin(theta)))),
                          380 + math.trunc(f32(40 * f32(math.cos(theta))))))
    return positions


def light_bitmaps():
    """The six light pictures of the installation's container, as lists of RGB rows (bottom-up BMPs)."""
    data = (paths.RUN_DIR / "mini_leds.bmf").read_bytes()
    (count,) = struct.unpack_from("<I", data, 0)
    entries = {}
    for k in range(count):
        name = data[4 + 40 * k:36 + 40 * k].split(b"\0")[0].decode()
        offset, length = struct.unpack_from("<II", data, 36 + 40 * k)
        entries.setdefault(name, data[offset:offset + length])
    bitmaps = {}
    for colour, name in LIGHT_ENTRIES.items():
        bmp = entries[name]
        (pixels,) = struct.unpack_from("<I", bmp, 10)
        width, height, _, bits = struct.unpack_from("<iiHH", bmp, 18)
        step = bits // 8
        stride = (width * step + 3) & ~3
        rows = []
        for y in range(height):
            start = pixels + (height - 1 - y) * stride
            rows.append([(bmp[start + x * step + 2], bmp[start + x * step + 1], bmp[start + x * step])
                         for x in range(width)])
        bitmaps[colour] = rows
    return bitmaps


class LightReader:
    """Tells which light picture is drawn at a point of a screenshot. Black pixels of a light are transparent,
    so only its other pixels are compared; a light matches when all of them are on the screen unchanged."""

    def __init__(self):
        self._bitmaps = light_bitmaps()

    def colour(self, shot, x, y, partly_covered=False):
        """With `partly_covered` (a label drawn over part of the light), the light whose coloured pixels show
        most, at least a column's worth of them."""
        if partly_covered:
            shown = {colour: self._lamp_pixels_shown(shot, x, y, rows) for colour, rows in self._bitmaps.items()}
            best = max(shown, key=shown.get)
            return best if shown[best] >= LIGHT_SIZE // 2 else None
        for colour, rows in self._bitmaps.items():
            if all(shot.pixel(x + dx, y + dy) == rgb for dy, row in enumerate(rows) for dx, rgb in enumerate(row)
                   if rgb != (0, 0, 0)):
                return colour
        return None

    @staticmethod
    def _lamp_pixels_shown(shot, x, y, rows):
        # The grey rim is the same in every light: only the lamp tells them apart.
        return sum(shot.pixel(x + dx, y + dy) == rgb for dy, row in enumerate(rows) for dx, rgb in enumerate(row)
                   if max(rgb) - min(rgb) > 24)

    def colours(self, shot, origin, points, partly_covered=()):
        return [self.colour(shot, origin[0] + x, origin[1] + y, i in partly_covered) for i, (x, y) in
                enumerate(points)]


def names(colours):
    return [COLOUR_NAMES[c] for c in colours]


def read_lights(grabber, reader, origin, points):
    """The colours of lights at client points, read in one small zone around them."""
    left = min(x for x, _ in points)
    top = min(y for _, y in points)
    right = max(x for x, _ in points) + LIGHT_SIZE
    bottom = max(y for _, y in points) + LIGHT_SIZE
    zone = grabber.grab(origin[0] + left, origin[1] + top, right - left, bottom - top)
    return reader.colours(zone, (-left, -top), points)


class RelayingVoiceServer:
    """Stands in for the voice server: once the client's presence has arrived, relays a silent datagram to
    its voice socket every 30 ms with the error level of the moment in byte 5."""

    PERIOD = 0.03

    def __init__(self, peer):
        self._peer = peer
        self._level = None
        self._sequence = 0
        self._running = True
        # Held while a datagram's level is read and sent: once set_level returns, none of the old level follows.
        self._sending = threading.Lock()
        self._thread = threading.Thread(target=self._relay, daemon=True)

    def start(self, level, timeout=30):
        presence = self._peer.wait_for(protocol.is_presence, timeout=timeout)[0]
        self._client = presence.source
        self._level = level
        self._thread.start()

    def set_level(self, level):
        """A level of None stops the relay; the network then falls silent."""
        with self._sending:
            self._level = level

    def _relay(self):
        while self._running:
            with self._sending:
                level = self._level
                if level is not None:
                    self._sequence = self._sequence % 255 + 1
                    self._peer.send(protocol.relayed_voice(self._sequence, relay_byte=1, account=0,
                                                           error_level=level), self._client)
            time.sleep(self.PERIOD)

    def close(self):
        self._running = False
        if self._thread.is_alive():
            self._thread.join()


def xdotool(display, *args):
    subprocess.run(["xdotool", *map(str, args)], env={"DISPLAY": display.name}, check=True, timeout=20)


def wait_for_lights(grabber, reader, origin, points, expected, timeout):
    """Reads the lights until they show `expected`, or fails with what they showed."""
    deadline = time.monotonic() + timeout
    while True:
        seen = read_lights(grabber, reader, origin, points)
        if seen == expected:
            return
        if time.monotonic() > deadline:
            raise AssertionError(f"lights show {names(seen)}, not {names(expected)}, after {timeout} s")
        time.sleep(0.01)


class StatusLightsTest(unittest.TestCase):
    def test_error_level_ring_and_foreground_lights(self):
        reader = LightReader()
        with UdpPeer(protocol.VOICE_PORT) as voice_server, UdpPeer(protocol.VOICE_PORT + 1) as channel_1, \
                Client("window_lights") as client:
            client.window_id(timeout=30)
            main = client.main_window()
            origin = (main["x"], main["y"])
            relay = RelayingVoiceServer(voice_server)
            try:
                with ScreenReader(client.display.name) as grabber:
                    self.check_silent_network(client, grabber, reader, origin)
                    self.hold_space_bar(client, channel_1)
                    self.check_error_levels(client, relay, grabber, reader, origin)
                    self.check_ring_follows_space_bar(client, relay, grabber, reader, origin)
                    self.check_foreground(client, grabber, reader, origin)
            finally:
                relay.close()
            client.key("Escape")
            self.assertEqual(client.wait_exit(30), 0)

    def check_silent_network(self, client, grabber, reader, origin):
        # Nothing relayed: after the receive loop's first empty poll, the five lights turn red.
        wait_for_lights(grabber, reader, origin, ERROR_LEVEL_LIGHTS, [RED] * 5, timeout=10)
        shot = client.screenshot("silent_network")
        self.assertEqual(names(reader.colours(shot, origin, FOREGROUND_LIGHTS)), ["green"] * 2)
        # The ring stays blue but for the red light of playback, which moves on with every block played
        # (silence too). The NETWORK label, painted last with its own background, hides part of light 12.
        red_positions = set()
        deadline = time.monotonic() + 10
        while len(red_positions) < 2 and time.monotonic() < deadline:
            ring = names(reader.colours(client.screenshot("silent_network_ring"), origin, ring_light_positions(),
                                        partly_covered={12}))
            reds = [i for i, name in enumerate(ring) if name == "red"]
            if len(reds) == 1 and ring.count("blue") == 15:
                red_positions.add(reds[0])
        self.assertEqual(len(red_positions), 2, "the red light was seen at two places of a blue ring")

    def hold_space_bar(self, client, channel_1):
        """Talking from here on. The channel key goes down after the space bar and the client handles keys in
        order, so presence on channel 1 tells that it talks before anything is relayed."""
        client.key_down("space")
        client.key("1")
        channel_1.wait_for(protocol.is_presence, timeout=10)

    def check_ring_follows_space_bar(self, client, relay, grabber, reader, origin):
        # Talking: the transmit animation, one green light on a dark red ring; the datagrams relayed for the
        # error levels left no reception mark beside it.
        self.wait_for_ring(client, reader, origin, lambda ring: ring.count("green") == 1
                           and ring.count("dark red") == 15, "one green light on a dark red ring")
        # Listening: each datagram marks green the light the red playback light has just left.
        client.key_up("space")
        relay.set_level(0)
        self.wait_for_ring(client, reader, origin, lambda ring: any(
            ring[i] == "green" and ring[(i + 1) % 16] == "red" for i in range(16)),
                           "a green light just behind the red one")
        client.screenshot("listening")
        # The network falls silent for the rest of the test: the error level settles on red before the panels
        # are compared across a covering, instead of turning red between the two pictures. The ring paints every
        # 50 ms, the status panel every 200 ms: red is taken for settled only once the panel has shown this
        # level, or a red left from before would pass and the level would show between the two pictures.
        D = DARK_BLUE
        wait_for_lights(grabber, reader, origin, ERROR_LEVEL_LIGHTS, [GREEN, D, D, D, D], timeout=10)
        relay.set_level(None)
        wait_for_lights(grabber, reader, origin, ERROR_LEVEL_LIGHTS, [RED] * 5, timeout=10)

    def wait_for_ring(self, client, reader, origin, shows, what, timeout=15):
        deadline = time.monotonic() + timeout
        while True:
            ring = names(reader.colours(client.screenshot("ring"), origin, ring_light_positions(),
                                        partly_covered={12}))
            if shows(ring):
                return
            if time.monotonic() > deadline:
                raise AssertionError(f"the ring shows {ring}, not {what}")

    def check_error_levels(self, client, relay, grabber, reader, origin):
        D = DARK_BLUE
        # Each case shows other lights than the one before it: lights already showing would pass its wait at once.
        cases = [
            (0, [GREEN, D, D, D, D]),
            (1, [D, GREEN, D, D, D]),
            (2, [D, D, GREEN, D, D]),
            (3, [D, D, D, YELLOW, D]),
            (-1, [D] * 5),  # a signed byte
            (4, [D, D, D, D, RED]),
            (7, [D] * 5),  # outside the table
            (None, [RED] * 5),  # the network falls silent again
        ]
        relay.start(cases[0][0])
        for level, expected in cases:
            with self.subTest(level=level):
                relay.set_level(level)
                if level == 0:
                    # One paint may read TST before the first datagram and the level after it; the next one
                    # shows both.
                    wait_for_lights(grabber, reader, origin, ERROR_LEVEL_LIGHTS + [TST_LIGHT], expected + [GREEN],
                                    timeout=10)
                    client.screenshot("error_level_0")
                else:
                    wait_for_lights(grabber, reader, origin, ERROR_LEVEL_LIGHTS, expected, timeout=10)

    def check_uncovered_panels(self, client, other, origin):
        """Panels whose inputs did not change are whole again once the window was covered and uncovered: painters
        that skip unchanged ticks draw again after the window is exposed."""
        # The status panel's labels only: its lights blink with the network's traffic and the heartbeat, and the
        # error level's steady lights go through the same painter.
        panels = {"channel": (10, 80, 180, 110), "help banner": (8, 43, 534, 24), "title": (120, 10, 310, 30),
                  "status labels": (296, 241, 100, 18), "error level": (400, 218, 112, 42),
                  "status lower labels": (296, 291, 150, 18), "left meter": (200, 80, 150, 84),
                  "right meter": (370, 80, 150, 84), "level bars": (200, 166, 320, 10), "knobs": (25, 220, 250, 64)}

        def grab():
            shot = client.display.screenshot()
            return {name: shot.crop(origin[0] + x, origin[1] + y, w, h).rgb for name, (x, y, w, h) in panels.items()}

        before = grab()
        xdotool(client.display, "windowsize", other, 540, 700, "windowmove", other, origin[0] + 5, origin[1] + 5)
        client.session.wait_until(lambda: all(seen != before[name] for name, seen in grab().items()), timeout=10,
                                  what="the other window to cover every panel")
        xdotool(client.display, "windowsize", other, 300, 100, "windowmove", other, 0, 900)
        deadline = time.monotonic() + 10
        while (after := grab()) != before and time.monotonic() < deadline:
            time.sleep(0.1)
        client.screenshot("uncovered")
        for name in panels:
            with self.subTest(panel=name):
                self.assertEqual(after[name], before[name], f"the {name} panel is whole again")
        # The ring never stands still (the red light of playback walks on): it is whole when it is all there.
        self.wait_for_ring(client, LightReader(), origin, lambda ring: ring.count("red") == 1
                           and ring.count("blue") + ring.count("green") == 15, "the ring whole again")

    def check_foreground(self, client, grabber, reader, origin):
        notepad = client.session.launch(client.session.prefix / "drive_c" / "windows" / "system32" / "notepad.exe")
        other = client.display.wait_window("Notepad$", timeout=30)
        # Out of the way of the lights: a covered window shows nothing of what it paints.
        xdotool(client.display, "windowsize", other, 300, 100, "windowmove", other, 0, 900)
        wait_for_lights(grabber, reader, origin, FOREGROUND_LIGHTS, [RED] * 2, timeout=10)
        client.screenshot("other_window_in_front")
        self.check_uncovered_panels(client, other, origin)

        for attempt in range(3):
            with self.subTest(attempt=attempt):
                client.click(100, 400)
                wait_for_lights(grabber, reader, origin, FOREGROUND_LIGHTS, [GREEN] * 2, timeout=10)
                client.display.click(other, 150, 50)
                wait_for_lights(grabber, reader, origin, FOREGROUND_LIGHTS, [RED] * 2, timeout=10)
        client.click(100, 400)
        wait_for_lights(grabber, reader, origin, FOREGROUND_LIGHTS, [GREEN] * 2, timeout=10)
        client.probe.post(client.probe.find(cls="Notepad")[0]["hwnd"], 0x0010)  # WM_CLOSE
        notepad.wait_exit(20)


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
