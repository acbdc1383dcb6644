"""The pointer on the main window: hover help in the banner, the close cross, spoken help, dragging the window, the
documentation icon, and a click on the close cross that ends the client."""

import time
import unittest

from harness import Client, UdpPeer, protocol, terminate_on_sigterm
from launcher.screen_reader import ScreenReader
from test_supervisor_notices import site_url
from test_window_lights import xdotool

BANNER = (10, 45, 530, 20)  # x, y, width, height
BANNER_TEXT_COLOUR = (20, 255, 71)
YELLOW = (255, 255, 0)
RED = (255, 0, 0)
# Points on both strokes of the close cross (520, 20)-(530, 30) and (530, 20)-(520, 30).
CROSS_POINTS = [(522, 22), (525, 25), (528, 28), (528, 22), (522, 28)]
NOWHERE = (270, 560)
DOCUMENTATION_ICON = (330, 625)
# In the top band that moves the window, left of the level meters: the meters are child windows over the
# band's lower edge (from (200, 80)) and take the pointer themselves.
DRAG_START = (120, 90)

# The first zone that holds the point chooses the text; the right and bottom edges are outside a zone.
SPOKEN_HELP = [
    ((460, 275), "Indique le temps restant avant fermeture si aucune activit\u00e9"),
    (NOWHERE, "Il n'y a rien de sp\u00e9cial ici"),
    ((30, 20), "Cliquez ici pour activer l'aide vocale"),
    ((400, 360), "Cliquez sur NETWORK pour voir les correspondants"),
    ((100, 150), "Cliquez dans ce cadre pour voir tous les groupes"),
    ((330, 625), "Cliquez sur cette icon pour ouvrir la documentation"),
    ((420, 520), "Cliquez sur cette animation pour ouvrir ou envoyer une image partag\u00e9e"),
    ((460, 630), "Cliquez ici pour plus d'information sur le concepteur"),
    ((510, 275), "Il n'y a rien de sp\u00e9cial ici"),
    ((460, 285), "Il n'y a rien de sp\u00e9cial ici"),
    ((479, 439), "Cliquez sur NETWORK pour voir les correspondants"),
    ((480, 439), "Il n'y a rien de sp\u00e9cial ici"),
]

# Points of the zones that have a hover text of their own; NOWHERE shows the welcome text.
HOVER_ZONES = {
    "network": (400, 360),
    "channel panel": (100, 150),
    "documentation": DOCUMENTATION_ICON,
    "animation": (420, 520),
    "about": (460, 630),
    "synthesiser": (30, 20),
}


class PointerTest(unittest.TestCase):
    def test_hover_close_cross_spoken_help_and_drag(self):
        with UdpPeer(protocol.SYNTHESISER_PORT) as synthesiser, Client("window_pointer") as client:
            client.window_id(timeout=30)
            synthesiser.wait_for(timeout=30)  # the greeting: the message loop runs
            main = client.main_window()
            origin = (main["x"], main["y"])
            with ScreenReader(client.display.name) as grabber:
                self.check_close_cross(client, grabber, origin)
                self.check_hover_help(client, grabber, origin)
            self.check_spoken_help(client, synthesiser)
            self.check_drag(client, origin)
            client.click(*DOCUMENTATION_ICON)
            client.session.wait_until(client.session.opened_urls, timeout=10, what="an address opened")
            self.assertEqual(client.session.opened_urls(), [site_url() + "/FR-Zelvora.php"])
            client.click(*CROSS_POINTS[1])
            self.assertEqual(client.wait_exit(30), 0)

    def check_close_cross(self, client, grabber, origin):
        def cross():
            part = grabber.grab(origin[0] + 510, origin[1] + 10, 30, 30)
            return [part.pixel(x - 510, y - 10) for x, y in CROSS_POINTS]

        with self.subTest("the cross is red from the start"):
            self.assertEqual(cross(), [RED] * len(CROSS_POINTS))
        for point, colour in [((525, 25), YELLOW), (NOWHERE, RED), ((511, 39), YELLOW), ((540, 25), RED)]:
            with self.subTest(pointer=point):
                self.move(client, point)
                client.session.wait_until(lambda: cross() == [colour] * len(CROSS_POINTS), timeout=10,
                                          what=f"a {colour} cross")
        client.screenshot("close_cross_red_again")

    def check_hover_help(self, client, grabber, origin):
        def banner():
            return grabber.grab(origin[0] + BANNER[0], origin[1] + BANNER[1], BANNER[2], BANNER[3]).rgb

        def settled_change(before):
            """The banner once it shows another text, read twice alike: a read during the paint is half drawn."""
            readings = [before]

            def settled():
                readings.append(banner())
                return readings[-1] == readings[-2] != before and bytes(BANNER_TEXT_COLOUR) in readings[-1]

            client.session.wait_until(settled, timeout=10, interval=0.05, what="a new text in the help banner")
            return readings[-1]

        # The banner's timer writes the welcome text at its first tick.
        client.session.wait_until(lambda: bytes(BANNER_TEXT_COLOUR) in banner(), timeout=5, what="the welcome text")
        shot = client.screenshot("welcome_banner")
        self.assertEqual(shot.pixel(origin[0] + 8, origin[1] + 55), YELLOW, "the banner's frame")
        self.assertEqual(shot.pixel(origin[0] + 541, origin[1] + 43), YELLOW, "the banner's frame")
        welcome = banner()
        self.assertIn(bytes(BANNER_TEXT_COLOUR), welcome, "the banner's text colour")

        seen = {}
        for zone, point in HOVER_ZONES.items():
            with self.subTest(zone=zone):
                self.move(client, point)
                seen[zone] = settled_change(welcome)
                if zone == "network":
                    client.screenshot("network_hover_banner")
                self.move(client, NOWHERE)
                client.session.wait_until(lambda: banner() == welcome, timeout=10, interval=0.05,
                                          what="the welcome text back")
        self.assertEqual(len(set(seen.values())), len(seen), "every zone has its own text")
        self.assertNotIn(welcome, seen.values())

    def check_spoken_help(self, client, synthesiser):
        for count, (point, text) in enumerate(SPOKEN_HELP, start=2):  # after the greeting
            with self.subTest(point=point):
                client.click(*point, button=3)
                spoken = synthesiser.wait_for(count=count, timeout=10)[-1]
                self.assertEqual(spoken.data, protocol.speech_text(text))

    def check_drag(self, client, origin):
        window = client.window_id()
        x, y = origin[0] + DRAG_START[0], origin[1] + DRAG_START[1]
        xdotool(client.display, "mousemove", x, y, "mousedown", 1)
        for step in range(1, 11):
            xdotool(client.display, "mousemove", x + 10 * step, y + 6 * step)
            time.sleep(0.03)
        xdotool(client.display, "mouseup", 1)
        moved = (origin[0] + 100, origin[1] + 60)
        client.session.wait_until(lambda: client.display.geometry(window)[:2] == moved, timeout=5,
                                  what=f"the window at {moved}")
        main = client.main_window()
        self.assertEqual((main["x"], main["y"]), moved)
        time.sleep(1)  # every panel painted again
        client.screenshot("after_drag")

    @staticmethod
    def move(client, point):
        xdotool(client.display, "mousemove", "--window", client.window_id(), *point)


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
