"""Small zones of the screen read straight from the X server, in a few milliseconds where a whole-screen
xwd takes up to a second on a loaded machine: for watching a display that changes every second."""

import ctypes

from launcher.image import Image

_Z_PIXMAP = 2


class ZoneGrabber:
    """Reads zones of the root window of an Xvfb display (TrueColor, 8 bits per colour); use as a context
    manager."""

    def __init__(self, display_name):
        self._x11 = ctypes.CDLL("libX11.so.6")
        self._x11.XOpenDisplay.restype = ctypes.c_void_p
        self._x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self._x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self._x11.XAllPlanes.restype = ctypes.c_ulong
        self._x11.XGetImage.restype = ctypes.c_void_p
        self._x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                        ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self._x11.XGetPixel.restype = ctypes.c_ulong
        self._x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
        self._x11.XDestroyImage.argtypes = [ctypes.c_void_p]
        self._x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self._connection = self._x11.XOpenDisplay(display_name.encode())
        if not self._connection:
            raise RuntimeError(f"cannot open display {display_name}")
        self._root = self._x11.XDefaultRootWindow(self._connection)

    def grab(self, x, y, width, height):
        picture = self._x11.XGetImage(self._connection, self._root, x, y, width, height, self._x11.XAllPlanes(),
                                      _Z_PIXMAP)
        if not picture:
            raise RuntimeError(f"cannot read the zone {(x, y, width, height)}")
        try:
            rgb = bytearray()
            for row in range(height):
                for column in range(width):
                    rgb += (self._x11.XGetPixel(picture, column, row) & 0xFFFFFF).to_bytes(3, "big")
        finally:
            self._x11.XDestroyImage(picture)
        return Image(width, height, rgb)

    def close(self):
        if self._connection:
            self._x11.XCloseDisplay(self._connection)
            self._connection = None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
