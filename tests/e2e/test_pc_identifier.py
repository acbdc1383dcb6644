"""The PC identifier, made from the volume serial number of C:, reaches the voice server in presence."""

import unittest

from harness import Client, UdpPeer, protocol, terminate_on_sigterm


class PcIdentifierTest(unittest.TestCase):
    def test_volume_serial_is_sent_as_16_decimal_digits(self):
        cases = [
            (0x1234ABCD, b"0000000305441741"),
            (0xFFFFFFFF, b"0000004294967295"),
        ]
        for serial, identifier in cases:
            with self.subTest(serial=hex(serial)), UdpPeer(protocol.VOICE_PORT) as voice_server, \
                    Client(f"pc_identifier_{serial:08x}", serial=serial):
                device = voice_server.wait_for(lambda d: protocol.is_presence(d, "device"), timeout=30)[0]
                self.assertEqual(protocol.read_presence(device.data).body, protocol.device_body(identifier))


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
