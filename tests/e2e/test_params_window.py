"""The parameters window: the PARAMS knob opens it beside the main window and closes it; it shows the sound
devices and the account, opens and closes the input device chooser, and a colour chosen in the colour dialog
repaints the client at once and is kept by the web service for the next start."""

import unittest

from harness import WM_DESTROY, Client, terminate_on_sigterm
from harness.web import WebService

ACCOUNT = 1000  # the service's number for the first PC it meets
PARAMS_KNOB = (57, 252)  # the knob's centre, client coordinates of the main window
PLAIN_POINT = (100, 250)  # a point of the main window that only its background covers
DEVICE_AREA = (100, 100)
SWATCH = (67, 390)
COMPONENT_BOXES = (706, 707, 708)  # the colour dialog's Red, Green and Blue edit boxes
PURE_BLUE = (0, 0, 255)


class ParamsWindowTest(unittest.TestCase):
    def setUp(self):
        terminate_on_sigterm()

    @staticmethod
    def geometry(window):
        return window["x"], window["y"], window["width"], window["height"]

    @staticmethod
    def knob_drawn(client, main):
        shot = client.display.screenshot()
        knob = shot.pixel(main["clientX"] + PARAMS_KNOB[0], main["clientY"] + PARAMS_KNOB[1])
        return knob != shot.pixel(main["clientX"] + PLAIN_POINT[0], main["clientY"] + PLAIN_POINT[1])

    def click_client(self, client, window, point):
        client.display.click_screen(window["clientX"] + point[0], window["clientY"] + point[1])

    def click_centre(self, client, window):
        client.display.click_screen(window["x"] + window["width"] // 2, window["y"] + window["height"] // 2)

    def test_params_opens_beside_the_client_and_its_colour_reaches_the_service(self):
        with WebService("params") as web, Client("params") as client:
            main = client.main_window(timeout=60)
            web.wait_for_log(lambda line: "/params.xml" in line, timeout=60)
            # The knob painter sets the knob's click zone as it first draws the knob.
            client.session.wait_until(lambda: self.knob_drawn(client, main), timeout=30,
                                      what="the PARAMS knob to be drawn")

            client.click(*PARAMS_KNOB)
            params = client.probe.wait_for(cls="ParamWndClass", title="Zelvora Params")
            self.assertEqual(params["owner"], main["hwnd"])
            opened = (main["x"] - 200, main["y"], 200, 450)
            client.session.wait_until(lambda: self.geometry(client.probe.find(cls="ParamWndClass")[0]) == opened,
                                      timeout=10, what="the opening animation to end beside the main window")
            params = client.probe.find(cls="ParamWndClass")[0]
            client.screenshot("opened")
            corner = (params["clientX"], params["clientY"])

            self.click_client(client, params, DEVICE_AREA)
            client.probe.wait_for(cls="InputDeviceWndClass")
            self.click_client(client, params, DEVICE_AREA)
            client.session.wait_until(lambda: not client.probe.find(cls="InputDeviceWndClass"), timeout=10)

            self.click_client(client, params, SWATCH)
            dialog = client.probe.wait_for(cls="#32770")
            client.screenshot("colour_dialog")
            self.choose_colour(client, dialog, PURE_BLUE)

            client.session.wait_until(lambda: not client.probe.find(cls="#32770"), timeout=10)
            web.wait_for_log(lambda line: "/users/params.php" in line, timeout=20)
            points = [(main["x"] + PLAIN_POINT[0], main["y"] + PLAIN_POINT[1]),
                      (corner[0] + SWATCH[0], corner[1] + SWATCH[1])]
            repainted = lambda: [client.display.screenshot().pixel(*p) for p in points] == [PURE_BLUE] * 2
            client.session.wait_until(repainted, timeout=10, what="the background and the swatch to turn blue")
            client.screenshot("blue")
            self.assertIn(("POST", "/users/params.php", 200), web.requests())
            # The next start's params.xml gives the colour: COLORREF 0x00FF0000.
            self.assertEqual(web.execute("SELECT background FROM accounts WHERE account = ?", (ACCOUNT,)),
                             [(0xFF0000,)])

            client.click(*PARAMS_KNOB)
            client.session.wait_until(lambda: not client.probe.find(cls="ParamWndClass"), timeout=10)
            client.probe.post("class:X", WM_DESTROY)
            self.assertEqual(client.wait_exit(30), 0)
            # The devices were described for the opening, not again at each repaint.
            self.assertEqual(client.program.log.read_text().count("Endpoint friendly name"), 1)

    def choose_colour(self, client, dialog, rgb):
        """Types the components into the dialog's Red, Green and Blue boxes and presses OK, as a user would."""
        children = {child["id"]: child for child in client.probe.windows(dialog["hwnd"])}
        x_window = client.display.wait_window(f"^{dialog['title']}$")
        for box, value in zip(COMPONENT_BOXES, rgb):
            self.click_centre(client, children[box])
            client.display.key(x_window, "End", *["BackSpace"] * 3, *str(value))
        self.click_centre(client, children[1])  # OK
