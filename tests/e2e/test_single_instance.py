"""A second copy of the client refuses to run beside the first."""

import unittest

from harness import WINDOW_CLASS, WINDOW_TITLE, WineSession, terminate_on_sigterm

SECOND_COPY_TEXT = ("Another instance of application Zelvora\nis already running.\n"
                    "Une autre instance de l\u2019application Zelvora\nest d\u00e9j\u00e0 en cours d\u2019ex\u00e9cution.\n")


class SecondCopyTest(unittest.TestCase):
    def test_second_copy_shows_the_two_language_box_and_exits_1_leaving_the_first_alone(self):
        with WineSession("second_copy") as session:
            first = session.launch_client()
            main = session.probe.wait_for(cls=WINDOW_CLASS, title=WINDOW_TITLE, timeout=30)

            second = session.launch_client()
            box = session.probe.wait_message_box(caption="Zelvora System", timeout=30)
            self.assertEqual(box["text"], SECOND_COPY_TEXT)
            self.assertEqual(box["owner"], "0x0", "the box has no owner window")
            self.assertNotEqual(box["pid"], main["pid"], "the box belongs to the second copy")
            self.assertTrue(second.running(), "the second copy waits for its box to be dismissed")

            session.probe.press(box["hwnd"])
            self.assertEqual(second.wait_exit(20), 1)
            self.assertTrue(first.running())
            windows = session.probe.find(cls=WINDOW_CLASS, title=WINDOW_TITLE)
            self.assertEqual([(w["hwnd"], w["pid"]) for w in windows], [(main["hwnd"], main["pid"])])
            self.assertEqual(session.probe.message_boxes(), [])


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
