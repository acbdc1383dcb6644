"""The harness's encoder and decoder of the client's datagrams, against bytes laid out by hand."""

import unittest

from harness import protocol


class ProtocolTest(unittest.TestCase):
    def test_presence_is_read_with_its_account_and_body_and_nothing_else_passes_for_it(self):
        header = b"R.\x00\x34\x12\x00\x00\x00\x00"
        for body, kind in [(b"V077\x02", "version"), (b"NWIN.PSEUDO.WIN.\x00", "name"),
                           (b"D0000000305441741\x00", "device"), (b"DDEVICE.ID\x00", "device")]:
            with self.subTest(kind=kind, body=body):
                self.assertEqual(protocol.read_presence(header + body), protocol.Presence(0x1234, kind, body))
        self.assertEqual(protocol.presence(0x1234), header + b"V077\x02")
        self.assertEqual(protocol.device_body(b"0000000305441741"), b"D0000000305441741\x00")
        self.assertEqual(protocol.device_body(b"123"), b"DDEVICE.ID\x00")
        for other in [protocol.GREETING, protocol.LIST_REQUEST, b"R.\x01\x34\x12\x00\x00\x00\x00V077\x02",
                      b"R.\x00\x34\x12\x00\x00\x00\x01V077\x02", header + b"X", header]:
            with self.subTest(other=other):
                self.assertIsNone(protocol.read_presence(other))

    def test_relayed_voice_puts_each_field_at_its_offset(self):
        payload = bytes(range(250)) * 4
        speech = protocol.relayed_voice(7, relay_byte=0x85, account=0x0107, error_level=-1, payload=payload)
        self.assertEqual(speech, b"A\x07\x85\x07\x01\xff\x00\x01" + bytes(16) + payload)
        silence = protocol.relayed_voice(255, error_level=4)
        self.assertEqual(silence, b"A\xff\x00\x07\x01\x04\x00\x00" + bytes(16))

    def test_audio_is_read_with_its_sequence_account_and_payload(self):
        payload = bytes(range(200)) * 5
        audio = b"A\x09\x02\x34\x12\x00NWIN-APP-Radio\x00\x00\x00\x00" + payload
        self.assertEqual(protocol.read_audio(audio), protocol.Audio(9, 0x1234, payload))
        self.assertIsNone(protocol.read_audio(audio[:-1]))
        self.assertIsNone(protocol.read_audio(b"B" + audio[1:]))

    def test_supervisor_and_synthesiser_datagrams(self):
        self.assertEqual(protocol.list_reply(5, [201, 0x1234]), b"L\x05\x02\xc9\x00\x34\x12")
        self.assertEqual(protocol.read_list_reply(b"L\x05\x02\xc9\x00\x34\x12"), (5, [201, 0x1234]))
        self.assertEqual(protocol.read_list_reply(b"L\x00\x00"), (0, []))
        self.assertEqual(protocol.status_request(0x3C), b"A\x01\x3c")
        self.assertEqual(protocol.status_reply(protocol.CLOSING_NOTICE), b"A\x00\xf0")
        self.assertEqual(protocol.speech_text("\u00e9t\u00e9" + "x" * 300), b"\x01\xe9t\xe9" + b"x" * 197)


if __name__ == "__main__":
    unittest.main()
