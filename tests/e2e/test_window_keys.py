"""Keys on the main window: inactive keys say so in a box, F1 and the about zone open the about box, Esc closes."""

import time
import unittest

from harness import Client, terminate_on_sigterm
from test_window_lights import xdotool

INACTIVE_KEY_CAPTION = "Info Clavier"
INACTIVE_KEY_TEXT = "D\u00e9sol\u00e9.\nCette touche est inactive !"
DIALOG_CLASS = "#32770"
ABOUT_TITLE_TEXT = "Zelvora, R\u00e9seau social d'\u00e9change"
ABOUT_OK_ID = 1


def screenshot_beside_main_window(client, name):
    """Without a window manager, Wine leaves an owned window black where it covers its owner: the main window
    steps aside for the picture, then comes back."""
    window = client.window_id()
    x, y, _, _ = client.display.geometry(window)
    xdotool(client.display, "windowmove", window, 760, y)
    time.sleep(1)
    client.screenshot(name)
    xdotool(client.display, "windowmove", window, x, y)


class KeysTest(unittest.TestCase):
    def test_inactive_keys_about_box_and_escape(self):
        with Client("window_keys") as client:
            client.window_id(timeout=30)
            main = client.main_window()
            probe = client.probe

            for key in ["a", "Shift_L", "Control_L"]:
                with self.subTest(key=key):
                    client.key(key)
                    box = probe.wait_message_box(INACTIVE_KEY_CAPTION, timeout=10)
                    self.assertEqual(box["text"], INACTIVE_KEY_TEXT)
                    self.assertEqual(box["owner"], main["hwnd"])
                    if key == "a":
                        screenshot_beside_main_window(client, "inactive_key_box")
                    probe.press(box["hwnd"])
                    client.session.wait_until(lambda: not probe.find(cls=DIALOG_CLASS), timeout=10,
                                              what="the box gone")

            for opened_by in ["F1", "a click in the about zone"]:
                with self.subTest(opened_by=opened_by):
                    if opened_by == "F1":
                        client.key("F1")
                    else:
                        client.click(460, 630)
                    about = self.wait_for_about_box(client, main["hwnd"])
                    texts = [child["title"] for child in probe.windows(about["hwnd"])]
                    self.assertIn(ABOUT_TITLE_TEXT, texts)
                    self.assertFalse(client.main_window()["enabled"], "the about box is modal")
                    if opened_by == "F1":
                        screenshot_beside_main_window(client, "about_box")
                    probe.press(about["hwnd"], ABOUT_OK_ID)
                    client.session.wait_until(lambda: not probe.find(cls=DIALOG_CLASS), timeout=10,
                                              what="the about box gone")
                    self.assertTrue(client.main_window()["enabled"])

            client.key("Escape")
            self.assertEqual(client.wait_exit(30), 0)

    def wait_for_about_box(self, client, owner):
        found = []
        client.session.wait_until(
            lambda: found.extend(w for w in client.probe.find(cls=DIALOG_CLASS) if w["owner"] == owner) or found,
            timeout=10, what="a dialog owned by the main window")
        return found[0]


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
