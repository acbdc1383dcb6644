"""A required installation image that is missing stops the client with a box naming it; it then exits 0."""

import unittest

from harness import WINDOW_CLASS, WINDOW_TITLE, WineSession, terminate_on_sigterm

MISSING_NAMED_FILE = "Le programme va s'arr\u00eater\ncar il manque le fichier\nREF: "
MISSING_A_FILE = "Le programme va s'arr\u00eater\ncar il manque un fichier\nREF: "
MISSING_ANIMATION = ("Il manque un fichier *.gif dans\nl\u2019installation de Zelvora\nL\u2019application Zelvora va\n"
                     "\u00eatre stopper. Cliquez sur OK\n")

# file removed from the run directory, the only box expected (caption, text)
CASES = [
    ("btn-fleche.bmp", (MISSING_NAMED_FILE, "btn-fleche.bmp")),
    ("btn-param.bmp", (MISSING_NAMED_FILE, "btn-param.bmp")),
    ("doc_img.bmp", (MISSING_A_FILE, "DOC-IMG")),
    ("synthe_1.bmp", (MISSING_A_FILE, "SYNTHE-IMG")),
    ("7.bmp", (MISSING_A_FILE, "CHANNEL-NUM")),
]


class MissingImageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        terminate_on_sigterm()
        # One prefix, display and sound server for every run: each client starts in a fresh copy of the run
        # directory, and the next once the last has ended.
        cls.session = cls.enterClassContext(WineSession("missing_images"))

    def test_each_missing_image_shows_one_box_owned_by_the_main_window_then_exits_0(self):
        for name, expected_box in CASES:
            with self.subTest(missing=name):
                client = self.session.launch_client(remove_files=[name])
                caption, text = expected_box
                box = self.session.probe.wait_message_box(caption=caption, timeout=30)
                main = self.session.probe.find(cls=WINDOW_CLASS, title=WINDOW_TITLE)
                self.assertEqual(len(main), 1, "the main window is up while the box shows")
                self.assertEqual(box["owner"], main[0]["hwnd"], "the box is owned by the main window")
                self.assertFalse(main[0]["enabled"], "the main window is disabled while the box shows")
                code, boxes = self.session.dismiss_boxes_until_exit(client, timeout=60)
                self.assertEqual(boxes, [expected_box])
                self.assertEqual(code, 0)

    def test_missing_title_animation_says_so_without_owner_then_exits_0(self):
        client = self.session.launch_client(remove_files=["electron-animation.gif"])
        box = self.session.probe.wait_message_box(caption="Zelvora System", timeout=30)
        self.assertEqual(box["owner"], "0x0", "the box has no owner window")
        code, boxes = self.session.dismiss_boxes_until_exit(client, timeout=60)
        self.assertEqual(boxes, [("Zelvora System", MISSING_ANIMATION)])
        self.assertEqual(code, 0)

    def test_several_missing_images_stop_at_the_first_box_and_still_exit_0(self):
        # Once the first box has destroyed the main window, the system refuses boxes owned by it.
        client = self.session.launch_client(remove_files=["doc_img.bmp", "0.bmp", "10.bmp"])
        code, boxes = self.session.dismiss_boxes_until_exit(client, timeout=60)
        self.assertEqual(boxes, [(MISSING_A_FILE, "DOC-IMG")])
        self.assertEqual(code, 0)


if __name__ == "__main__":
    unittest.main()
