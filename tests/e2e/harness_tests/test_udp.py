"""The stand-in UDP peer the end-to-end tests record the client's datagrams with."""

import socket
import time
import unittest

from harness import UdpPeer


class UdpPeerTest(unittest.TestCase):
    def setUp(self):
        self.peer = UdpPeer(0)
        self.addCleanup(self.peer.close)
        self.sender = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.addCleanup(self.sender.close)
        self.sender.bind(("127.0.0.1", 0))
        self.sender.settimeout(5)

    def test_records_every_datagram_in_order_with_its_source_and_time(self):
        before = time.monotonic()
        for data in [b"\x01first", b"", b"\xff"]:
            self.sender.sendto(data, self.peer.address)
        received = self.peer.wait_for(count=3, timeout=5)
        self.assertEqual([d.data for d in received], [b"\x01first", b"", b"\xff"])
        self.assertTrue(all(d.source == self.sender.getsockname() for d in received))
        self.assertTrue(before <= received[0].time <= received[1].time <= received[2].time <= time.monotonic())

    def test_waits_only_for_datagrams_that_match(self):
        for data in [b"a1", b"b1", b"a2", b"b2"]:
            self.sender.sendto(data, self.peer.address)
        self.assertEqual([d.data for d in self.peer.wait_for(lambda d: d.data[:1] == b"b", count=2, timeout=5)],
                         [b"b1", b"b2"])

    def test_wait_gives_up_after_the_timeout(self):
        self.sender.sendto(b"only one", self.peer.address)
        started = time.monotonic()
        with self.assertRaises(TimeoutError):
            self.peer.wait_for(count=2, timeout=0.5)
        self.assertLess(time.monotonic() - started, 3)

    def test_reply_reaches_the_sender_of_a_datagram(self):
        self.sender.sendto(b"hello", self.peer.address)
        self.peer.reply(self.peer.wait_for(timeout=5)[0], b"T")
        self.assertEqual(self.sender.recvfrom(100), (b"T", self.peer.address))


if __name__ == "__main__":
    unittest.main()
