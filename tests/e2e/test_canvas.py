"""The canvas: a click on the animation zone of a channel opens it on the channel's shared image, its menu
sends a picture chosen in the file dialog and shows it, and reloads what another member shared since; a second
click closes it."""

import unittest

from harness import Client, Image, WM_DESTROY, terminate_on_sigterm
from harness.network import ReferenceNetwork
from harness.web import WebService

SERIAL = 0x1234ABCD
CANVAS_CLASS = "CanvasWndClass"
CANVAS_TITLE = "Zelvora Echange et Partage"
# In the animation zone, right of where the canvas covers the main window.
ANIMATION = (480, 520)
SEEDED_CHANNEL = 1  # the seed shares a sunset over the sea there
SHARED_IMAGE = f"/echange/pc_img_share_get.php?F={SEEDED_CHANNEL}&N=1"
UPLOAD = "/echange/pc_img_share_post.php"
FILE_MENU = (20, 10)  # on the menu bar, at the top of the canvas's X window
MENU_CLASS = "#32768"  # an open menu's window
SEA = (30, 70, 130)
RED = (255, 0, 0)
GREEN = (0, 255, 0)


def share_of(shot, window, colour, tolerance=12):
    """The share of the window's rectangle on the screenshot painted in `colour`."""
    area = shot.crop(window["x"], window["y"], window["width"], window["height"])
    pixels = [area.rgb[i:i + 3] for i in range(0, len(area.rgb), 3)]
    near = sum(1 for p in pixels if all(abs(p[k] - colour[k]) <= tolerance for k in range(3)))
    return near / len(pixels)


class CanvasTest(unittest.TestCase):
    def setUp(self):
        terminate_on_sigterm()

    def choose_from_menu(self, client, *keys):
        """Opens the canvas's "Fichier" menu with the mouse and chooses an item with the keyboard."""
        canvas = client.display.wait_window(f"^{CANVAS_TITLE}$")
        client.display.click(canvas, *FILE_MENU)
        client.probe.wait_for(cls=MENU_CLASS)
        client.display.key(canvas, *keys, "Return")

    def test_canvas_shows_the_shared_image_and_sends_a_picture_chosen_by_the_user(self):
        with ReferenceNetwork("canvas") as network, WebService("canvas") as web, \
                Client("canvas", serial=SERIAL) as client:
            client.window_id(timeout=60)
            network.wait_for_client(channel=0)
            client.click(*ANIMATION)
            client.key(str(SEEDED_CHANNEL))
            network.wait_for_client(channel=SEEDED_CHANNEL)
            # The key was handled after the click, whose canvas would have opened within it.
            self.assertEqual(client.probe.find(cls=CANVAS_CLASS), [], "no canvas on the welcome channel")
            client.click(*ANIMATION)
            canvas = client.probe.wait_for(cls=CANVAS_CLASS, title=CANVAS_TITLE)
            self.assertEqual(canvas["owner"], client.main_window()["hwnd"])
            web.wait_for_log(lambda line: f" {SHARED_IMAGE} 200" in line)
            client.session.wait_until(lambda: share_of(client.screenshot("seeded_image"), canvas, SEA) > 0.15,
                                      timeout=10, what="the seeded image's sea on the canvas")

            # "Fichier > Envoyer", then the file typed into the dialog.
            picture = client.session.prefix / "drive_c" / "rouge.png"
            Image(60, 30, bytes(RED) * 60 * 30).save_png(picture)
            self.choose_from_menu(client, "Down", "Down")
            dialog = client.display.wait_window(f"^{client.probe.wait_for(cls='#32770')['title']}$")
            client.display.type_text(dialog, "C:\\rouge.png")
            client.display.key(dialog, "Return")
            web.wait_for_log(lambda line: f" POST {UPLOAD} 200" in line, timeout=60)
            stored = web.execute("SELECT image, file_name FROM shared_images WHERE channel = ?", (SEEDED_CHANNEL,))
            self.assertEqual(stored, [(picture.read_bytes(), b"rouge.png")])
            # The upload fetches the image again by itself, and shows the picture sent, scaled to fit.
            client.session.wait_until(
                lambda: share_of(client.screenshot("picture_sent"), canvas, RED, tolerance=0) > 0.4, timeout=10,
                what="the picture sent, red, on the canvas")

            # "Fichier > Actualiser" shows what another member has shared since: the upload's own fetch and its
            # red picture are left from before the command, and would pass for its fetch.
            other = client.session.scratch / "vert.png"
            Image(60, 30, bytes(GREEN) * 60 * 30).save_png(other)
            web.execute("UPDATE shared_images SET image = ? WHERE channel = ?", (other.read_bytes(), SEEDED_CHANNEL))
            self.choose_from_menu(client, "Down")
            client.session.wait_until(
                lambda: share_of(client.screenshot("picture_refreshed"), canvas, GREEN, tolerance=0) > 0.4,
                timeout=20, what="the other member's picture, green, on the canvas")

            client.click(*ANIMATION)
            client.session.wait_until(lambda: not client.probe.find(cls=CANVAS_CLASS), timeout=10)
            client.probe.post("class:X", WM_DESTROY)
            self.assertEqual(client.wait_exit(30), 0)
