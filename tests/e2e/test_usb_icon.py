"""With no accessory plugged in, the client shows the black USB icon from the web service and still closes
cleanly, its accessory thread ended."""

import unittest

from harness import WM_DESTROY, Client, terminate_on_sigterm
from harness.web import WebService

BLACK_ICON = "/usb//usb_black.png"


class UsbIconTest(unittest.TestCase):
    def test_black_icon_without_an_adapter(self):
        with WebService("usb_icon") as web, Client("usb_icon") as client:
            client.main_window(timeout=60)
            client.session.wait_until(lambda: ("GET", BLACK_ICON, 200) in web.requests(), timeout=60,
                                      what="the black icon's request")
            client.probe.post("class:X", WM_DESTROY)
            self.assertEqual(client.wait_exit(30), 0)


if __name__ == "__main__":
    terminate_on_sigterm()
    unittest.main()
