"""The client greets the speech synthesiser at start and tells it to stop when its main window goes."""

import unittest

from harness import WM_DESTROY, Client, UdpPeer, protocol, terminate_on_sigterm
from harness.protocol import SYNTHESISER_PORT, SYNTHESISER_STOP as STOP

GREETING_TEXT = "Bonjour. Le synth\u00e9tiseur est actif. Sur la cl\u00e9 droite de la souris"
GREETING = protocol.speech_text(GREETING_TEXT)


class SynthesiserLinkTest(unittest.TestCase):
    def test_greeting_at_start_and_stop_when_the_main_window_is_destroyed(self):
        self.assertEqual(len(GREETING), 1 + 66)
        with UdpPeer(SYNTHESISER_PORT) as synthesiser, Client("synthesiser_link") as client:
            greeting = synthesiser.wait_for(timeout=30)[0]
            self.assertEqual(greeting.data, GREETING)
            self.assertEqual(greeting.source[0], "127.0.0.1")

            # What the supervisor does to end a session.
            client.probe.post("class:X", WM_DESTROY)
            self.assertEqual(client.wait_exit(30), 0)
            received = synthesiser.datagrams()
            self.assertEqual([d.data for d in received], [GREETING, STOP])
            self.assertEqual(received[1].source, greeting.source, "both go out on the same socket")


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
