"""A web service that stalls cannot freeze the client: each fetch is cut at its 5 s deadline, whether the
service never finishes the TLS handshake or trickles a body that never ends, and the window answers within
that time, at start-up and when a member talks."""

import threading
import unittest

from harness import WINDOW_CLASS, WM_DESTROY, Client, terminate_on_sigterm
from harness.network import ReferenceNetwork
from harness.stalling_web import StallingWebService

SERIAL = 0x1234ABCD
SPEAKER = 101
FETCH_DEADLINE = 5.0
# The cut itself is the exchange watch's native test; held for two deadlines, the window would have waited on
# more than one fetch, while a loaded machine's delays around one cut stay within the second.
HELD_AT_MOST = 2 * FETCH_DEADLINE


class StalledWebServiceTest(unittest.TestCase):
    def setUp(self):
        terminate_on_sigterm()

    def assert_window_answers(self, client, when):
        # Named by its class: listing the windows would ask the main window for its title, and wait on it.
        answer = client.probe.answer_time(f"class:{WINDOW_CLASS}", timeout=25)
        print(f"{when}: the window answered after {answer} s")
        self.assertIsNotNone(answer, f"{when}: the window did not answer")
        self.assertLess(answer, HELD_AT_MOST, when)

    def test_a_handshake_that_never_ends_holds_the_window_no_longer_than_the_deadline(self):
        with StallingWebService("handshake") as web, Client("stalled_handshake", serial=SERIAL) as client:
            web.wait_for_connections(1)
            self.assert_window_answers(client, "start-up")
            client.probe.post("class:X", WM_DESTROY)
            self.assertEqual(client.wait_exit(30), 0)

    def test_a_body_that_never_ends_holds_the_window_no_longer_than_the_deadline(self):
        with ReferenceNetwork("stalled_body") as network, StallingWebService("body") as web, \
                Client("stalled_body", serial=SERIAL) as client:
            web.wait_for_connections(1)
            self.assert_window_answers(client, "start-up")

            # Once the cut fetches have let go of the service, a member talking makes the client fetch again.
            web.wait_for_ended(web.connections())
            network.wait_for_client(channel=0)
            network.add_member(0, SPEAKER)
            before = web.connections()
            # `speak` returns when the speech ends; the window is to be asked while the fetch runs.
            speech = threading.Thread(target=network.command, args=("speak", "--channel", 0, "--account", SPEAKER,
                                                                   "--tone", 440, "--seconds", 10))
            speech.start()
            web.wait_for_connections(before + 1)
            self.assert_window_answers(client, "speaker fetch")
            speech.join()
            client.probe.post("class:X", WM_DESTROY)
            self.assertEqual(client.wait_exit(30), 0)


if __name__ == "__main__":
    unittest.main()
