"""A private X display (Xvfb), its screenshots and the keyboard and mouse input sent to it."""

import ctypes
import os
import re
import subprocess
import time

from .screen_reader import ScreenReader

_SHAPE_BOUNDING = 0


class _XRectangle(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort)]


SCREEN_WIDTH = 1280
SCREEN_HEIGHT = 1024


def can_open(name):
    """True when an X server answers on display `name` (e.g. ":0")."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    connection = x11.XOpenDisplay(name.encode())
    if not connection:
        return False
    x11.XCloseDisplay(ctypes.c_void_p(connection))
    return True


class Display:
    """Xvfb on a display number that no other server holds (Xvfb picks it and reports it when ready),
    with a white root window."""

    def __init__(self, procs, width=SCREEN_WIDTH, height=SCREEN_HEIGHT):
        self.width = width
        self.height = height
        read_end, write_end = os.pipe()
        try:
            self.server = procs.start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
                                       "-nolisten", "tcp", "-noreset", "-wr"], pass_fds=(write_end,),
                                      stderr=subprocess.DEVNULL)
            os.close(write_end)
            write_end = None
            number = _read_all(read_end, timeout=20).strip()
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)
        if not number.isdigit():
            raise RuntimeError("Xvfb did not start")
        self.name = f":{number}"

    def env(self):
        return {"DISPLAY": self.name}

    def _run(self, *argv, check=True, timeout=20):
        env = dict(os.environ, DISPLAY=self.name)
        return subprocess.run([str(a) for a in argv], env=env, check=check, timeout=timeout,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE)

    def screenshot(self):
        with ScreenReader(self.name) as reader:
            return reader.grab(0, 0, self.width, self.height)

    def find_windows(self, name_pattern):
        """X windows whose title matches the regular expression, visible ones only."""
        result = self._run("xdotool", "search", "--onlyvisible", "--name", name_pattern, check=False)
        return [int(w) for w in result.stdout.split()]

    def wait_window(self, name_pattern, timeout=20):
        deadline = time.monotonic() + timeout
        while True:
            found = self.find_windows(name_pattern)
            if found:
                return found[0]
            if time.monotonic() > deadline:
                raise TimeoutError(f"no window titled {name_pattern!r} on {self.name} after {timeout} s")
            time.sleep(0.2)

    def geometry(self, window):
        """(x, y, width, height) of an X window on the screen."""
        out = self._run("xdotool", "getwindowgeometry", "--shell", window).stdout.decode()
        values = dict(re.findall(r"^(\w+)=(-?\d+)$", out, re.MULTILINE))
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def shape(self, window):
        """The rectangles (x, y, width, height) of an X window's bounding shape, in window coordinates: the
        window region the program set, one rectangle when it set none. A screenshot cannot show it: Wine draws
        the window's whole rectangle even where the shape cuts it off."""
        x11 = ctypes.CDLL("libX11.so.6")
        xext = ctypes.CDLL("libXext.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        xext.XShapeGetRectangles.restype = ctypes.POINTER(_XRectangle)
        connection = x11.XOpenDisplay(self.name.encode())
        if not connection:
            raise RuntimeError(f"cannot open display {self.name}")
        try:
            count, ordering = ctypes.c_int(), ctypes.c_int()
            rects = xext.XShapeGetRectangles(ctypes.c_void_p(connection), ctypes.c_ulong(window), _SHAPE_BOUNDING,
                                             ctypes.byref(count), ctypes.byref(ordering))
            result = [(rects[i].x, rects[i].y, rects[i].width, rects[i].height) for i in range(count.value)]
            if rects:
                x11.XFree(rects)
            return result
        finally:
            x11.XCloseDisplay(ctypes.c_void_p(connection))

    def focus(self, window):
        # Keys are lost until the window has the focus; there is no window manager to give it.
        self._run("xdotool", "windowfocus", "--sync", window)

    def focused(self):
        """The X window that has the keyboard focus."""
        return int(self._run("xdotool", "getwindowfocus").stdout)

    def key(self, window, *keys):
        """Presses and releases each key (xdotool names, e.g. space, Escape, KP_Add) in the focused window."""
        self.focus(window)
        # Sent without --window: with it, every key-up arrives twice.
        self._run("xdotool", "key", *keys)

    def type_text(self, window, text):
        """Types the text, character by character, in the focused window (a dialog's edit box, say)."""
        self.focus(window)
        self._run("xdotool", "type", "--delay", 50, text)

    def key_down(self, window, key):
        self.focus(window)
        self._run("xdotool", "keydown", key)

    def key_up(self, window, key):
        self.focus(window)
        self._run("xdotool", "keyup", key)

    def click(self, window, x, y, button=1):
        """Clicks at client coordinates (x, y) of the window; button 1 is left, 3 is right."""
        self._run("xdotool", "mousemove", "--window", window, x, y, "click", button)

    def click_screen(self, x, y, button=1):
        """Clicks at screen coordinates (x, y), for windows found through the probe rather than by X."""
        self._run("xdotool", "mousemove", x, y, "click", button)


def _read_all(fd, timeout):
    deadline = time.monotonic() + timeout
    os.set_blocking(fd, False)
    data = b""
    while time.monotonic() < deadline:
        try:
            chunk = os.read(fd, 64)
        except BlockingIOError:
            time.sleep(0.05)
            continue
        if not chunk:
            break
        data += chunk
        if data.endswith(b"\n"):
            break
    return data.decode(errors="replace")
