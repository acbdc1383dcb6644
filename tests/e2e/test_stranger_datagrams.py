"""Datagrams from another host change nothing: a 'T' sent to the synthesiser socket does not switch the
microphone on, relayed voice sent to the voice socket is neither played nor fetched a picture for, and a
closing notice sent to the supervisor socket does not close the client. The stranger is a second address on
the loopback interface of the test's own network namespace; each attack is followed by the real peer's own
datagram, whose effect shows that the client has worked through the attack."""

import os
import subprocess
import time
import unittest

from harness import Client, UdpPeer, protocol, terminate_on_sigterm
from harness.protocol import PAYLOAD_BYTES, SUPERVISOR_PORT, SYNTHESISER_PORT, VOICE_PORT, is_audio
from harness.tone import quiet_after_sound, tone, tone_starts
from harness.web import WebService

STRANGER = "192.0.2.7"  # documentation range: no real host
PAYLOAD_SECONDS = 0.03125
STRANGER_HZ, SERVER_HZ, MICROPHONE_HZ = 700, 440, 550
STRANGER_ACCOUNT, SERVER_ACCOUNT = 103, 101  # seed members, both with a picture
CAPTION = "Info du Superviseur"
UPDATE_TEXT = "Votre application doit \u00eatre mise \u00e0 jour"
# The start-up chime may still be playing once the client has its parameters, and the fading tail of its notes
# reads as the stranger's tone: the speech is sent once it has played out.
CHIME_PLAYED_OUT = 0.25
# The key listener rests 100 ms after each datagram of the synthesiser: harmless bytes sent ahead of its 'T'
# hold that 'T' back by at least this many rests (a few ms of slack each for the timer's grain).
HARMLESS_BYTES = 15
LISTENER_REST = 0.09


def stream_speech(peer, destination, account, frequency, seconds, first_sequence):
    """Sends `seconds` of a tone as relayed speech at the network's pace."""
    speech = tone(frequency, seconds)
    next_send = time.monotonic()
    for i, at in enumerate(range(0, len(speech), PAYLOAD_BYTES)):
        relayed = protocol.relayed_voice((first_sequence + i) % 255 + 1, account=account,
                                         payload=speech[at:at + PAYLOAD_BYTES])
        peer.send(relayed, destination)
        next_send += PAYLOAD_SECONDS
        time.sleep(max(0.0, next_send - time.monotonic()))


class StrangerDatagramsTest(unittest.TestCase):
    def setUp(self):
        if not os.environ.get("ZELVORA_ISOLATED"):
            self.skipTest("needs a network namespace of its own to add the stranger's address")
        subprocess.run(["ip", "addr", "replace", f"{STRANGER}/32", "dev", "lo"], check=True)

    def test_datagrams_from_another_host_change_nothing(self):
        with UdpPeer(VOICE_PORT) as voice, UdpPeer(SUPERVISOR_PORT) as supervisor, \
                UdpPeer(SYNTHESISER_PORT) as synthesiser, UdpPeer(0, host=STRANGER) as stranger, \
                WebService("stranger_datagrams") as web, Client("stranger_datagrams") as client:
            mic = client.session.scratch / "mic.raw"
            mic.write_bytes(tone(MICROPHONE_HZ, 120))
            client.sound.play_microphone(mic)
            voice_socket = voice.wait_for(lambda d: d.data == protocol.GREETING, timeout=60)[0].source
            supervisor_socket = supervisor.wait_for(timeout=30)[0].source
            synth_greeting = synthesiser.wait_for(timeout=30)[0]
            web.wait_for_log(lambda line: "/params.xml" in line, timeout=60)
            client.session.wait_until(lambda: quiet_after_sound(client.sound.speaker_bytes(), CHIME_PLAYED_OUT),
                                      timeout=30, what="the start-up chime played out")
            self._injected_speech(client, web, voice, stranger, voice_socket)
            self._remote_hot_microphone(voice, synthesiser, stranger, synth_greeting)
            self._remote_close(client, supervisor, stranger, supervisor_socket)

    def _injected_speech(self, client, web, voice, stranger, voice_socket):
        played_before = len(client.sound.speaker_bytes())
        stream_speech(stranger, (STRANGER, voice_socket[1]), STRANGER_ACCOUNT, STRANGER_HZ, 2.0, 0)
        # The server's speech queues behind whatever was accepted before it, and its speaker's picture is
        # fetched at a later tick of the 1 s speaker fetch than the stranger's account would have been.
        stream_speech(voice, voice_socket, SERVER_ACCOUNT, SERVER_HZ, 2.0, 100)
        client.session.wait_until(
            lambda: len(tone_starts(client.sound.speaker_bytes()[played_before:], SERVER_HZ, PAYLOAD_SECONDS)) >= 32,
            timeout=20, what="a second of the server's speech played")
        web.wait_for_log(lambda line: f" /users/{SERVER_ACCOUNT}/images.php?N=2 " in line, timeout=10)
        self.assertEqual(tone_starts(client.sound.speaker_bytes()[played_before:], STRANGER_HZ, PAYLOAD_SECONDS), [])
        self.assertEqual([t for _, t, _ in web.requests() if t.startswith(f"/users/{STRANGER_ACCOUNT}/")], [])

    def _remote_hot_microphone(self, voice, synthesiser, stranger, synth_greeting):
        self.assertEqual([d for d in voice.datagrams() if is_audio(d)], [])
        attacked = time.monotonic()
        stranger.send(protocol.TALK_KEY_PRESS, ("127.0.0.1", synth_greeting.source[1]))
        stranger.send(protocol.TALK_KEY_PRESS, (STRANGER, synth_greeting.source[1]))
        for _ in range(HARMLESS_BYTES):
            synthesiser.reply(synth_greeting, b"t")
        synthesiser.reply(synth_greeting, protocol.TALK_KEY_PRESS)
        first = voice.wait_for(is_audio, timeout=20)[0]
        synthesiser.reply(synth_greeting, protocol.TALK_KEY_RELEASE)
        # An accepted stranger's 'T' would have started the talk a quarter of a second after it came.
        self.assertGreaterEqual(first.time - attacked, HARMLESS_BYTES * LISTENER_REST,
                                "the talk began only with the synthesiser's own 'T'")

    def _remote_close(self, client, supervisor, stranger, supervisor_socket):
        stranger.send(protocol.status_reply(protocol.CLOSING_NOTICE), (STRANGER, supervisor_socket[1]))
        supervisor.send(protocol.status_reply(protocol.UPDATE_NOTICE), supervisor_socket)
        # The update notice is taken after the stranger's closing notice, which would have held the supervisor
        # for the 20 s of its window.
        box = client.probe.wait_message_box(caption=CAPTION, timeout=10)
        self.assertEqual(box["text"], UPDATE_TEXT)
        self.assertEqual(client.probe.find(cls="CustomDialog"), [])
        self.assertTrue(client.running())
        client.probe.press(box["hwnd"])
        self.assertEqual(client.wait_exit(30), 0)


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
