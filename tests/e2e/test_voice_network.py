"""The client's voice-network traffic as stand-in servers record it: greetings, the presence stream and its
pacing by the error level relayed back, and the supervisor's list and status requests.

One client run serves every check: it is driven through the phases of SCENARIO, then its traffic is
examined test by test."""

import threading
import time
import unittest

from harness import WM_DESTROY, Client, UdpPeer, protocol, terminate_on_sigterm
from harness.protocol import CHANNELS, SUPERVISOR_PORT, VOICE_PORT, is_presence

SERIAL = 0x1234ABCD
PC_IDENTIFIER = b"0000000305441741"

# (phase, error level relayed or None for no relay, relay byte, seconds). The levels come down: a client
# slow to see a new level keeps the longer pause of the one before into the next phase, never a shorter one.
SCENARIO = [
    ("quiet", None, 0, 2.5),
    ("level 4", 4, 0x3C, 2.5),
    ("level 3", 3, 0x3C, 2.5),
    ("level 2", 2, 0x85, 2.5),
    ("level 1", 1, 0x85, 2.5),
    ("level 0", 0, 0x85, 2.5),
]
# Pause after each presence datagram, in ms, for each phase of the scenario.
EXPECTED_PAUSE = {"quiet": 30, "level 0": 10, "level 1": 15, "level 2": 20, "level 3": 25, "level 4": 30}
SWITCHED_CHANNEL = 3
# About three seconds of presence on the new channel: two supervisor cycles at least.
PRESENCE_AFTER_SWITCH = 100


class StandInRelay:
    """Sends the client relayed voice datagrams, silence only, one per 31.25 ms, with the error level and
    relay byte of the moment and a sequence byte that never repeats the previous one."""

    PERIOD = 0.03125

    def __init__(self, peer, destination):
        self._peer = peer
        self._destination = destination
        self._level = None
        self._relay_byte = 0
        self._sequence = 0
        self._lock = threading.Lock()
        self._running = True
        self._thread = threading.Thread(target=self._run, daemon=True)
        self._thread.start()

    def set(self, level, relay_byte):
        """level None stops the stream."""
        with self._lock:
            self._level, self._relay_byte = level, relay_byte

    def _run(self):
        next_send = time.monotonic()
        while self._running:
            with self._lock:
                level, relay_byte = self._level, self._relay_byte
            if level is not None:
                self._sequence = self._sequence % 255 + 1
                self._peer.send(protocol.relayed_voice(self._sequence, relay_byte=relay_byte, error_level=level),
                                self._destination)
            next_send += self.PERIOD
            time.sleep(max(0.0, next_send - time.monotonic()))

    def close(self):
        self._running = False
        self._thread.join()


def intervals_ms(datagrams):
    return [(b.time - a.time) * 1000 for a, b in zip(datagrams, datagrams[1:])]


class VoiceNetworkTrafficTest(unittest.TestCase):
    """Every check looks at the traffic of the one run made in setUpClass."""

    @classmethod
    def setUpClass(cls):
        peers = [UdpPeer(VOICE_PORT + k) for k in range(CHANNELS)]
        peers += [UdpPeer(SUPERVISOR_PORT + k) for k in range(CHANNELS)]
        cls.voice = peers[:CHANNELS]
        cls.supervisor = peers[CHANNELS:]
        try:
            with Client("voice_network", serial=SERIAL) as client:
                cls._drive(client)
        finally:
            for peer in peers:
                peer.close()

    @classmethod
    def _drive(cls, client):
        first = cls.voice[0].wait_for(is_presence, timeout=60)[0]
        cls.client_voice_address = first.source
        relay = StandInRelay(cls.voice[0], first.source)
        cls.phases = {}
        cls.relay_changes = []  # (time, relay byte) at each change of the relayed stream
        try:
            for name, level, relay_byte, seconds in SCENARIO:
                relay.set(level, relay_byte)
                start = time.monotonic()
                if level is not None:
                    cls.relay_changes.append((start, relay_byte))
                time.sleep(seconds)  # the length of a phase, over which presence is measured
                cls.phases[name] = (start, time.monotonic())
            relay.set(None, 0)
            cls.switch_time = time.monotonic()
            client.key(str(SWITCHED_CHANNEL))
            cls.voice[SWITCHED_CHANNEL].wait_for(is_presence, count=PRESENCE_AFTER_SWITCH, timeout=30)
        finally:
            relay.close()
        client.probe.post("class:X", WM_DESTROY)
        cls.exit_code = client.wait_exit(30)

    def _supervisor_traffic(self):
        """(time, destination port, data, source) of everything sent to the supervisor ports, in time order."""
        return sorted((d.time, peer.address[1], d.data, d.source) for peer in self.supervisor for d in peer.datagrams())

    def _voice_traffic(self, predicate=lambda d: True):
        """(channel, datagram) of everything sent to the voice ports, in time order."""
        traffic = [(k, d) for k, peer in enumerate(self.voice) for d in peer.datagrams() if predicate(d)]
        return sorted(traffic, key=lambda item: item[1].time)

    def _presence(self):
        return [d for _, d in self._voice_traffic(is_presence)]

    def test_client_exits_cleanly(self):
        self.assertEqual(self.exit_code, 0)

    def test_each_socket_greets_the_first_channel_port_once(self):
        greetings = self._voice_traffic(lambda d: d.data.startswith(protocol.GREETING[:5]))
        self.assertEqual(sorted(len(d.data) for _, d in greetings), [9, 18])
        self.assertEqual({channel for channel, _ in greetings}, {0})
        voice_greeting, supervisor_greeting = sorted((d for _, d in greetings), key=lambda d: len(d.data))
        self.assertEqual(voice_greeting.data, protocol.GREETING)
        self.assertEqual(supervisor_greeting.data, protocol.GREETING * 2)
        self.assertEqual(voice_greeting.source, self.client_voice_address, "the short one from the voice socket")
        supervisor_sources = {source for _, _, _, source in self._supervisor_traffic()}
        self.assertEqual(supervisor_sources, {supervisor_greeting.source},
                         "the long one from the supervisor socket")
        self.assertLess(voice_greeting.time, self._presence()[0].time, "the greeting precedes presence")

    def test_presence_bodies_cycle_name_device_version(self):
        presence = self._presence()
        self.assertGreater(len(presence), 300)
        cycle = [protocol.NAME_BODY, protocol.device_body(PC_IDENTIFIER), protocol.VERSION_BODY]
        read = [protocol.read_presence(d.data) for d in presence]
        wrong = [(i, d.data) for i, (d, p) in enumerate(zip(presence, read)) if p.body != cycle[i % 3]]
        self.assertEqual(wrong[:1], [], "the first datagram out of the name, device, version cycle")
        self.assertEqual({p.account for p in read}, {read[0].account}, "one account throughout")
        self.assertEqual({d.source for d in presence}, {self.client_voice_address})

    def test_presence_pause_follows_the_relayed_error_level(self):
        # The pause of each level is a native test's; here the level relayed must reach the pacing.
        presence = self._presence()
        typical = {}
        for name, expected in EXPECTED_PAUSE.items():
            start, end = self.phases[name]
            window = [d for d in presence if start <= d.time <= end]
            gaps = sorted(intervals_ms(window))
            with self.subTest(phase=name, expected_ms=expected):
                self.assertGreater(len(gaps), 20, "a steady stream")
                # Late arrivals shorten the gap after them but never the mean: no pause is cut short.
                mean = (window[-1].time - window[0].time) * 1000 / len(gaps)
                self.assertGreaterEqual(mean, expected - 1.5, f"pauses {gaps[:5]} ... {gaps[-5:]}")
            typical[name] = gaps[len(gaps) // 5]
        # A loaded machine only lengthens pauses: a fifth of level 0's are still well short of level 4's.
        self.assertLess(typical["level 0"], EXPECTED_PAUSE["level 4"] - 5, f"typical pauses {typical}")

    def test_presence_follows_the_channel_key_without_a_new_greeting(self):
        switched = self.voice[SWITCHED_CHANNEL].datagrams()
        self.assertEqual([d.data for d in switched if not is_presence(d)], [])
        arrived = switched[0].time
        elsewhere = [channel for channel, d in self._voice_traffic(is_presence)
                     if d.time > arrived and channel != SWITCHED_CHANNEL]
        self.assertEqual(elsewhere, [], "presence left the old channel once it reached the new one")

    def test_list_requests_alternate_with_status_requests_and_poll_every_channel_in_turn(self):
        traffic = self._supervisor_traffic()
        # A cycle's requests leave together; cycles are at least 0.7 s apart.
        cycles = []
        for when, port, data, _ in traffic:
            if cycles and when - cycles[-1][0] < 0.3:
                cycles[-1][1].append((port, data))
            else:
                cycles.append((when, [(port, data)]))
        before_switch = [requests for when, requests in cycles if when < self.switch_time]
        switched = self.voice[SWITCHED_CHANNEL].datagrams()[0].time
        after_switch = [requests for when, requests in cycles if when > switched]
        self.assertGreaterEqual(len(before_switch), 10)
        self.assertGreaterEqual(len(after_switch), 2)

        def expected(cycle_index, current_port):
            if cycle_index % 2:
                return "status", [current_port]
            polled = SUPERVISOR_PORT + (cycle_index // 2) % CHANNELS
            return "list", sorted([current_port, polled])

        for i, requests in enumerate(before_switch):
            kind, ports = expected(i, SUPERVISOR_PORT)
            with self.subTest(cycle=i, kind=kind):
                self.assertEqual(sorted(port for port, _ in requests), ports)
                if kind == "list":
                    self.assertEqual([data for _, data in requests], [protocol.LIST_REQUEST] * 2)
                else:
                    self.assertEqual(requests[0][1][:2], protocol.status_request(0)[:2])
                    self.assertEqual(len(requests[0][1]), 3)
        current = SUPERVISOR_PORT + SWITCHED_CHANNEL
        for i, requests in enumerate(after_switch):
            with self.subTest(cycle_after_switch=i):
                self.assertIn(current, [port for port, _ in requests], "the new channel's port is asked")

    def test_status_requests_echo_the_last_relay_byte(self):
        # Each request echoes a relay byte already relayed, and never goes back to an older one once a newer
        # one is echoed: however late the client reads what was relayed.
        changes = [byte for _, byte in self.relay_changes]
        relayed = [0] + [byte for i, byte in enumerate(changes) if i == 0 or byte != changes[i - 1]]
        statuses = [(when, data) for when, _, data, _ in self._supervisor_traffic() if data[:1] == b"A"]
        self.assertGreaterEqual(len(statuses), 5)
        echoed = []
        for when, data in statuses:
            with self.subTest(at=round(when, 2)):
                self.assertEqual(data[:2], protocol.status_request(0)[:2])
                self.assertIn(data[2], relayed[:len(self._relayed_by(when)) + 1])
                echoed.append(relayed.index(data[2]))
        self.assertEqual(echoed, sorted(echoed), "an older relay byte came back")
        self.assertEqual(sorted(set(echoed)), list(range(len(relayed))), f"relay bytes echoed: {echoed}")

    def _relayed_by(self, when):
        """The distinct relay bytes relayed before `when`, in order (the first 0 is the client's own)."""
        bytes_so_far = []
        for change, byte in self.relay_changes:
            if change <= when and (not bytes_so_far or bytes_so_far[-1] != byte):
                bytes_so_far.append(byte)
        return bytes_so_far


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
