"""The PC identifier, made from the volume serial number of C:, reaches the voice server in presence."""

import unittest

from harness import Client, UdpPeer, terminate_on_sigterm

FIRST_CHANNEL_PORT = 30000


def is_device_presence(datagram):
    return datagram.data[:2] == b"R." and datagram.data[9:10] == b"D"


class PcIdentifierTest(unittest.TestCase):
    def test_volume_serial_is_sent_as_16_decimal_digits(self):
        cases = [
            (0x1234ABCD, b"0000000305441741"),
            (0xFFFFFFFF, b"0000004294967295"),
        ]
        for serial, identifier in cases:
            with self.subTest(serial=hex(serial)), UdpPeer(FIRST_CHANNEL_PORT) as voice_server, \
                    Client(f"pc_identifier_{serial:08x}", serial=serial):
                device = voice_server.wait_for(is_device_presence, timeout=30)[0]
                self.assertEqual(device.data[10:], identifier + b"\x00")


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
