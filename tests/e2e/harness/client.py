"""Zelvora.exe under Wine on a private display, as the end-to-end tests drive it."""

from .session import WineSession

WINDOW_TITLE = "ZELVORA"
WINDOW_CLASS = "X"
WINDOW_WIDTH = 550
WINDOW_HEIGHT = 730


class Client:
    """Starts the client in its own session; use as a context manager.

        with Client("greeting", remove_files=["7.bmp"], serial=0x1234ABCD) as c:
            c.window_id(); c.key("space"); c.click(20, 20, button=3); c.wait_exit(30)

    Stand-in UDP peers (harness.UdpPeer) must be bound before the client starts."""

    def __init__(self, name, *, remove_files=(), serial=None, **session_options):
        self.session = WineSession(name, serial=serial, **session_options)
        self._remove_files = remove_files

    def __enter__(self):
        self.session.__enter__()
        try:
            self.program = self.session.launch_client(self._remove_files)
        except BaseException:
            self.session.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *exc):
        self.session.__exit__(*exc)

    @property
    def display(self):
        return self.session.display

    @property
    def probe(self):
        return self.session.probe

    @property
    def sound(self):
        return self.session.sound

    def window_id(self, timeout=20):
        """The X window of the main window, once it is visible."""
        return self.display.wait_window(f"^{WINDOW_TITLE}$", timeout)

    def main_window(self, timeout=20):
        """The main window as the probe sees it (hwnd, rect, visibility)."""
        return self.probe.wait_for(cls=WINDOW_CLASS, title=WINDOW_TITLE, timeout=timeout)

    def screenshot(self, name):
        return self.session.screenshot(name)

    def key(self, *keys):
        self.display.key(self.window_id(), *keys)

    def key_down(self, key):
        self.display.key_down(self.window_id(), key)

    def key_up(self, key):
        self.display.key_up(self.window_id(), key)

    def click(self, x, y, button=1):
        """Clicks at client coordinates of the main window."""
        self.display.click(self.window_id(), x, y, button)

    def running(self):
        return self.program.running()

    def wait_exit(self, timeout=30):
        return self.program.wait_exit(timeout)
