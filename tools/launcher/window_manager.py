"""Openbox on a private display, so that Wine's message boxes and secondary windows get their frames and
captions: without a window manager Wine draws none."""

import ctypes
import os
import subprocess
import time

# Debian's own configuration, named so that a user's ~/.config/openbox cannot rebind the client's keys.
_CONFIG = "/etc/xdg/openbox/rc.xml"


class WindowManagerDidNotStart(RuntimeError):
    pass


def _manages_screen(display_name):
    """True once a window manager owns the screen's WM_S0 selection, as an ICCCM manager does when ready."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XGetSelectionOwner.restype = ctypes.c_ulong
    x11.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    connection = x11.XOpenDisplay(display_name.encode())
    if not connection:
        return False
    try:
        return x11.XGetSelectionOwner(connection, x11.XInternAtom(connection, b"WM_S0", False)) != 0
    finally:
        x11.XCloseDisplay(connection)


def start_window_manager(procs, display_name, timeout=20):
    """Starts openbox on the display and returns its process once it manages the screen; `procs` stops it."""
    env = dict(os.environ, DISPLAY=display_name)
    server = procs.start(["openbox", "--sm-disable", "--config-file", _CONFIG], env=env, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + timeout
    while not _manages_screen(display_name):
        if server.poll() is not None:
            raise WindowManagerDidNotStart(f"openbox ended with exit code {server.returncode}")
        if time.monotonic() > deadline:
            raise WindowManagerDidNotStart(f"openbox did not manage the display within {timeout} s")
        time.sleep(0.05)
    return server
