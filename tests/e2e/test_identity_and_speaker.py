"""The client's identity and faces against the reference network and web service: at start it identifies
its PC, carries the account number it is given and loads that account's details and colour; a member
talking brings that member's picture and details to the main window."""

import unittest

from harness import WM_DESTROY, Client, UdpPeer, protocol, terminate_on_sigterm
from harness.network import ReferenceNetwork
from harness.web import WebService

SERIAL = 0x1234ABCD
PC_IDENTIFIER = "0000000305441741"
ACCOUNT = 4242
IDENTIFICATION = f"/Rb8Wd3Qy6N.php?S=2&I={PC_IDENTIFIER}&V=VELMARC%200.7.7&A=&F="
# The BACKGROUND text FF8000 is the COLORREF 0x00FF8000: blue 255, green 128, red 0.
BACKGROUND = 0xFF8000
BACKGROUND_RGB = (0, 128, 255)
# Client points that only the window's own paint covers: no panel, picture or text.
PLAIN_POINTS = ((100, 250), (300, 520))
PICTURE_FRAME = (10, 340)  # the red frame's top-left corner
NAME_STRIP = (10, 318, 300, 21)  # first name and town, white
SPEAKERS = (101, 102)  # seed members
UNKNOWN_SPEAKER = 999  # no account: no picture, no details
PORTRAIT = (10, 340, 120, 150)  # where a seed member's framed portrait lies


NO_PARAMETERS_CAPTION = "Acquisition des param\u00e8tres"
NO_PARAMETERS_TEXT = ("Aucun param\u00e8tre n'a \u00e9t\u00e9 trouv\u00e9 sur votre compte\n"
                      "les param\u00e8tres par d\u00e9faut seront utilis\u00e9s.")


def register_pc(web, background):
    """The PC is already known to the service, with a colour of its own or none."""
    web.execute("INSERT INTO accounts (account, pc_id, prenom, ville, phrase, jour, email, folder, background, "
                "registered) VALUES (?, ?, 'Ren&#xE9;', 'Lyon', 'Salut', '01/01/2020', 'r@exemple.fr', 'rene', ?, "
                "'2020-01-01')", (ACCOUNT, PC_IDENTIFIER, background))


class IdentityAndSpeakerTest(unittest.TestCase):
    def setUp(self):
        terminate_on_sigterm()

    def client_origin(self, client):
        x, y, _, _ = client.display.geometry(client.window_id(timeout=60))
        return x, y

    def test_start_up_identifies_the_pc_then_loads_the_accounts_details_and_colour(self):
        with ReferenceNetwork("identity") as network, WebService("identity") as web:
            register_pc(web, BACKGROUND)
            with Client("identity", serial=SERIAL) as client:
                x, y = self.client_origin(client)
                web.wait_for_log(lambda line: "/params.xml" in line, timeout=60)
                # The accessory's USB icon is fetched earlier at start-up; the account fetches keep their order.
                targets = [target for _, target, _ in web.requests() if not target.startswith("/usb/")]
                self.assertEqual(targets[:3], [IDENTIFICATION, f"/users/{ACCOUNT}/client.xml",
                                               f"/users/{ACCOUNT}/params.xml"])
                # Its datagrams carry the account number from then on.
                network.wait_for_log(lambda line: f"now {ACCOUNT}" in line, timeout=10)

                # Nothing but start-up repaints the window in the account's colour.
                def coloured():
                    shot = client.screenshot("account_colour")
                    return all(shot.pixel(x + px, y + py) == BACKGROUND_RGB for px, py in PLAIN_POINTS)

                client.session.wait_until(coloured, timeout=10, what="the account's colour on the window")
                client.probe.post("class:X", WM_DESTROY)
                self.assertEqual(client.wait_exit(30), 0)

    def test_an_account_without_parameters_is_told_once(self):
        with UdpPeer(protocol.SYNTHESISER_PORT) as synthesiser, WebService("no_parameters") as web:
            register_pc(web, None)
            with Client("no_parameters", serial=SERIAL) as client:
                main = client.main_window(timeout=60)
                box = client.probe.wait_message_box(NO_PARAMETERS_CAPTION, timeout=60)
                self.assertEqual(box["text"], NO_PARAMETERS_TEXT)
                self.assertEqual(box["owner"], main["hwnd"])
                # The box's own loop runs the speaker timer, whose fetches may already follow the 404.
                self.assertIn(("GET", f"/users/{ACCOUNT}/params.xml", 404), web.requests())
                self.assertFalse(client.main_window()["enabled"])
                client.probe.press(box["hwnd"])
                # The greeting comes once start-up is over: no box of start-up can follow it.
                synthesiser.wait_for(timeout=30)
                self.assertEqual(client.probe.message_boxes(), [])
                self.assertTrue(client.main_window()["enabled"])
                client.probe.post("class:X", WM_DESTROY)
                self.assertEqual(client.wait_exit(30), 0)

    def test_a_member_talking_shows_its_picture_and_details(self):
        # When a speaker is fetched (once per change, not at every tick) is the account fetcher's native test.
        with ReferenceNetwork("speaker") as network, WebService("speaker") as web, \
                Client("speaker", serial=SERIAL) as client:
            x, y = self.client_origin(client)
            network.wait_for_client(channel=0)
            web.wait_for_log(lambda line: "/params.xml" in line, timeout=60)
            strips = []  # the name strip of each speaker shown
            for speaker in SPEAKERS:
                network.add_member(channel=0, account=speaker)
                network.command("speak", "--channel", 0, "--account", speaker, "--tone", 440, "--seconds", 2)
                web.wait_for_log(lambda line: f" /users/{speaker}/images.php?N=2 200" in line)
                web.wait_for_log(lambda line: f" /users/{speaker}/client.xml 200" in line)
                client.session.wait_until(lambda: self.shows_a_new_speaker(client.display.screenshot(), x, y, strips),
                                          timeout=10, what=f"the picture frame and details of {speaker}")
                client.screenshot(f"speaker_{speaker}")
                network.wait_for_log(lambda line: f"talk stop channel 0 account {speaker} " in line)
            client.probe.post("class:X", WM_DESTROY)
            self.assertEqual(client.wait_exit(30), 0)

    def test_a_repaint_brings_the_speaker_back_whole_and_a_speaker_without_account_shows_no_face(self):
        with ReferenceNetwork("speaker_band") as network, WebService("speaker_band") as web:
            register_pc(web, BACKGROUND)
            with Client("speaker_band", serial=SERIAL) as client:
                x, y = self.client_origin(client)
                network.wait_for_client(channel=0)
                web.wait_for_log(lambda line: "/params.xml" in line, timeout=60)

                def band():
                    """Whether the portrait's frame shows, whether white names do, whether no face does."""
                    shot = client.display.screenshot()
                    strip = shot.crop(x + NAME_STRIP[0], y + NAME_STRIP[1], NAME_STRIP[2], NAME_STRIP[3])
                    portrait = shot.crop(x + PORTRAIT[0], y + PORTRAIT[1], PORTRAIT[2], PORTRAIT[3])
                    return (shot.pixel(x + PICTURE_FRAME[0], y + PICTURE_FRAME[1]) == (255, 0, 0),
                            any(strip.rgb[i:i + 3] == b"\xff\xff\xff" for i in range(0, len(strip.rgb), 3)),
                            portrait.rgb == bytes(BACKGROUND_RGB) * (PORTRAIT[2] * PORTRAIT[3]))

                def fetched(document):
                    return [target for _, target, _ in web.requests()].count(f"/users/{SPEAKERS[0]}/{document}")

                def speak(account):
                    network.add_member(channel=0, account=account)
                    network.command("speak", "--channel", 0, "--account", account, "--tone", 440, "--seconds", 1)

                speak(SPEAKERS[0])
                client.session.wait_until(lambda: band() == (True, True, False), timeout=10,
                                          what="the first speaker's picture and names", seen=band)
                client.probe.repaint("class:X")
                client.session.wait_until(lambda: fetched("images.php?N=2") == fetched("client.xml") == 2,
                                          timeout=5, what="the picture and the details fetched again")
                client.session.wait_until(lambda: band() == (True, True, False), timeout=5,
                                          what="the picture and the names back after the repaint", seen=band)
                client.screenshot("repainted_speaker")

                speak(UNKNOWN_SPEAKER)
                web.wait_for_log(lambda line: f" /users/{UNKNOWN_SPEAKER}/client.xml 404" in line)
                client.session.wait_until(lambda: band() == (False, False, True), timeout=5,
                                          what="no face and no names under the unknown speaker", seen=band)
                client.screenshot("unknown_speaker")
                client.probe.post("class:X", WM_DESTROY)
                self.assertEqual(client.wait_exit(30), 0)

    @staticmethod
    def shows_a_new_speaker(shot, x, y, strips):
        """The red picture frame, and white text in the name strip that no earlier speaker had; the strip is
        then added to `strips`."""
        strip = shot.crop(x + NAME_STRIP[0], y + NAME_STRIP[1], NAME_STRIP[2], NAME_STRIP[3])
        text = [(i, j) for i in range(NAME_STRIP[2]) for j in range(NAME_STRIP[3])
                if strip.pixel(i, j) == (255, 255, 255)]
        if shot.pixel(x + PICTURE_FRAME[0], y + PICTURE_FRAME[1]) != (255, 0, 0) or not text or text in strips:
            return False
        strips.append(text)
        return True


if __name__ == "__main__":
    unittest.main()
