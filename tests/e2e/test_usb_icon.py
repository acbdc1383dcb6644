"""With no accessory plugged in, the client shows the black USB icon from the web service and still closes
cleanly, its accessory thread ended."""

import unittest

from harness import WM_DESTROY, Client, terminate_on_sigterm
from harness.web import WebService
from test_identity_and_speaker import BACKGROUND, BACKGROUND_RGB, SERIAL, register_pc

BLACK_ICON = "/usb//usb_black.png"
ICON_CORNER = (314, 500)  # client coordinates of the 32 x 32 icon
# The seed's icons: a plug in the state's colour on transparency; black for no adapter.
PLUG_BODY = (16, 15)
BESIDE_THE_ICON = (-3, 16)
BLACK = (0, 0, 0)  # on the account's blue background: the default one is black too


class UsbIconTest(unittest.TestCase):
    def test_black_icon_without_an_adapter(self):
        with WebService("usb_icon") as web:
            register_pc(web, BACKGROUND)
            with Client("usb_icon", serial=SERIAL) as client:
                main = client.main_window(timeout=60)
                client.session.wait_until(lambda: ("GET", BLACK_ICON, 200) in web.requests(), timeout=60,
                                          what="the black icon's request")

                def shows_black_plug():
                    shot = client.display.screenshot()
                    at = lambda p: shot.pixel(main["clientX"] + ICON_CORNER[0] + p[0],
                                              main["clientY"] + ICON_CORNER[1] + p[1])
                    return at(PLUG_BODY) == BLACK and at(BESIDE_THE_ICON) == BACKGROUND_RGB

                client.session.wait_until(shows_black_plug, timeout=20,
                                          what="a black plug on the account's background")
                client.screenshot("black_icon")
                client.probe.post("class:X", WM_DESTROY)
                self.assertEqual(client.wait_exit(30), 0)


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
