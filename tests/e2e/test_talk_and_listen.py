"""Talking and listening through the sound devices: the microphone is a tone of the session's sound server,
the speaker is recorded to a file."""

import re
import time
import unittest

from harness import WINDOW_TITLE, WM_DESTROY, Client, UdpPeer, WineSession, protocol, terminate_on_sigterm
from harness.network import ReferenceNetwork
from harness.tone import carries, tone, tone_starts

from harness.protocol import PAYLOAD_BYTES, SYNTHESISER_PORT, VOICE_PORT, is_audio
MICROPHONE_HZ = 440
RELAYED_HZ = 700
PAYLOAD_SECONDS = 0.03125
# 32 datagrams a second once recording runs; the switch to talking comes before the first one.
PER_SECOND = 32


def heard_within(client, frequency, played_before, enough, what):
    """Waits until the speaker has played at least `enough` starts of the tone since `played_before` bytes."""
    def heard():
        return len(tone_starts(client.sound.speaker_bytes()[played_before:], frequency, PAYLOAD_SECONDS)) >= enough

    client.session.wait_until(heard, timeout=10, what=what)


def relay_until_heard(server, greeting, client, enough):
    """Relays two seconds of a tone at the network's pace, then waits until the speaker has played `enough` of
    its datagrams."""
    played_before = len(client.sound.speaker_bytes())
    speech = tone(RELAYED_HZ, 2.0)
    next_send = time.monotonic()
    for i in range(0, len(speech), PAYLOAD_BYTES):
        relayed = protocol.relayed_voice(i // PAYLOAD_BYTES % 255 + 1, payload=speech[i:i + PAYLOAD_BYTES])
        server.send(relayed, greeting.source)
        next_send += PAYLOAD_SECONDS
        time.sleep(max(0.0, next_send - time.monotonic()))
    heard_within(client, RELAYED_HZ, played_before, enough, f"{enough} datagrams of the relayed tone played")


class TalkTest(unittest.TestCase):
    def test_talk_key_sends_the_microphone_and_relayed_speech_is_played(self):
        mic = tone(MICROPHONE_HZ, 120)
        with UdpPeer(VOICE_PORT) as server, UdpPeer(SYNTHESISER_PORT) as synthesiser, \
                Client("talk_and_listen") as client:
            (client.session.scratch / "mic.raw").write_bytes(mic)
            client.sound.play_microphone(client.session.scratch / "mic.raw")
            greeting = server.wait_for(lambda d: d.data == protocol.GREETING, timeout=60)[0]
            synth = synthesiser.wait_for(timeout=30)[0]
            client.window_id()

            # Held past one second of recording: 32 datagrams of the tone a second, with consecutive sequences
            # from the run's first, 1.
            client.key_down("space")
            first = server.wait_for(is_audio, timeout=10)[0]
            self.assertEqual(protocol.read_audio(first.data).sequence, 1, "the run's first audio datagram")
            time.sleep(1.0 - (time.monotonic() - first.time))
            client.key_up("space")
            # Relayed speech plays only once the client listens again: then every datagram of the talk is in.
            relay_until_heard(server, greeting, client, enough=1)
            held = [d for d in server.datagrams() if is_audio(d)]
            first_second = [d for d in held if d.time - first.time < 1.0]
            self.assertAlmostEqual(len(first_second), PER_SECOND, delta=2)
            sequences = [protocol.read_audio(d.data).sequence for d in held]
            self.assertEqual(sequences, [(sequences[0] - 1 + i) % 255 + 1 for i in range(len(held))])
            # A loaded machine may starve the microphone's feed for a moment: nearly all, not all.
            toneless = [d.data[1] for d in held if not carries(protocol.read_audio(d.data).payload, MICROPHONE_HZ)]
            self.assertLessEqual(len(toneless), 2, toneless)

            # The synthesiser's key orders: 'T' starts a talk, 'R' ends it, and the client listens again.
            synthesiser.reply(synth, protocol.TALK_KEY_PRESS)
            server.wait_for(is_audio, count=len(held) + 3, timeout=10)
            synthesiser.reply(synth, protocol.TALK_KEY_RELEASE)
            relay_until_heard(server, greeting, client, enough=32)  # at least half of the relayed tone

            client.probe.post("class:X", WM_DESTROY)
            self.assertEqual(client.wait_exit(30), 0)


class TwoClientsTest(unittest.TestCase):
    def test_a_tone_spoken_into_one_client_comes_out_of_the_other(self):
        with ReferenceNetwork("two_clients") as network, Client("two_clients_talker") as talker, \
                Client("two_clients_listener") as listener:
            network.wait_for_client(channel=0, count=2, timeout=90)
            mic = talker.session.scratch / "mic.raw"
            mic.write_bytes(tone(MICROPHONE_HZ, 60))
            talker.sound.play_microphone(mic)
            played_before = len(listener.sound.speaker_bytes())
            talker.key_down("space")
            time.sleep(3.0)  # three seconds of talk
            talker.key_up("space")
            heard_within(listener, MICROPHONE_HZ, played_before, 32, "a second of the talker's tone on the listener")
            for client in (talker, listener):
                client.probe.post("class:X", WM_DESTROY)
                self.assertEqual(client.wait_exit(30), 0)


def without_capture_device(session):
    """Wine's ALSA driver instead of a sound server: a speaker that discards its sound, no capture device."""
    (session.scratch / ".asoundrc").write_text(
        "pcm.!default { type asym playback.pcm { type null } capture.pcm { type hw card 7 } }\n")
    session.env["HOME"] = str(session.scratch)
    session.env["WINEDLLOVERRIDES"] += ";winepulse.drv=d"


class NoMicrophoneTest(unittest.TestCase):
    def test_a_capture_device_that_cannot_be_opened_shows_two_boxes_and_ends_the_client(self):
        with WineSession("no_microphone", sound=False) as session:
            without_capture_device(session)
            client = session.launch_client()
            window = session.display.wait_window(f"^{WINDOW_TITLE}$", 60)
            session.display.key_down(window, "space")
            exit_code, boxes = session.dismiss_boxes_until_exit(client, timeout=60)
        self.assertEqual(len(boxes), 2, boxes)
        self.assertEqual(boxes[0][0], "Erreur Syst\u00e8me Windows")
        self.assertRegex(boxes[0][1], re.compile(
            r"\AWindows semble avoir un probl\u00e8me syst\u00e8me !\nCode d'erreur : [1-9][0-9]*\Z"))
        self.assertEqual(boxes[1], (
            "Identification du probl\u00e8me",
            "Erreur d'ouverture du p\u00e9riph\u00e9rique d'enregistrement.\nLe driver d'enregistrement est "
            "d\u00e9fectueux ou incompatible\nZelvora ne pourra fonctionner qu'en mode \u00e9coute.\nLe programme "
            "va s'arr\u00eat\u00e9 automatiquement."))
        self.assertEqual(exit_code, 1)

    def test_closing_without_a_capture_device_shows_no_box_and_ends_with_code_0(self):
        with UdpPeer(SYNTHESISER_PORT) as synthesiser, \
                WineSession("close_without_microphone", sound=False) as session:
            without_capture_device(session)
            client = session.launch_client()
            synthesiser.wait_for(timeout=60)  # the greeting: start-up is over, the audio thread listens
            window = session.display.wait_window(f"^{WINDOW_TITLE}$", 60)
            session.display.click(window, 525, 25)  # the close button
            exit_code, boxes = session.dismiss_boxes_until_exit(client, timeout=60)
        self.assertEqual(boxes, [])
        self.assertEqual(exit_code, 0)


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
