"""Pictures of an X display read from its root window, one request per picture: the screen as the server shows
it. xwd is not used: Wine's windows have a colour map of their own, so xwd reads a window that lies wholly over
another of the same program through the lower one, and gets black where the upper one covers it (message boxes,
menus)."""

import ctypes

from .image import from_zpixmap

_Z_PIXMAP = 2
_ALL_PLANES = 0xFFFFFFFF


class _XImage(ctypes.Structure):
    # The leading fields of Xlib's XImage, as far as the colour masks.
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int), ("format", ctypes.c_int),
                ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int), ("red_mask", ctypes.c_ulong),
                ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong)]


class ScreenReader:
    """Reads zones of the screen of an X display (TrueColor, 8 bits per colour) over one connection; use as a
    context manager."""

    def __init__(self, display_name):
        self._x11 = ctypes.CDLL("libX11.so.6")
        self._x11.XOpenDisplay.restype = ctypes.c_void_p
        self._x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self._x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self._x11.XGetImage.restype = ctypes.POINTER(_XImage)
        self._x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                        ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self._x11.XDestroyImage.argtypes = [ctypes.POINTER(_XImage)]
        self._x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self._connection = self._x11.XOpenDisplay(display_name.encode())
        if not self._connection:
            raise RuntimeError(f"cannot open display {display_name}")
        self._root = self._x11.XDefaultRootWindow(self._connection)

    def grab(self, x, y, width, height):
        """The Image of the screen's rectangle at (x, y)."""
        picture = self._x11.XGetImage(self._connection, self._root, x, y, width, height, _ALL_PLANES, _Z_PIXMAP)
        if not picture:
            raise RuntimeError(f"cannot read the zone {(x, y, width, height)}")
        try:
            p = picture.contents
            data = ctypes.string_at(p.data, p.bytes_per_line * p.height)
            return from_zpixmap(p.width, p.height, data, p.bytes_per_line, p.bits_per_pixel, p.byte_order,
                                (p.red_mask, p.green_mask, p.blue_mask))
        finally:
            self._x11.XDestroyImage(picture)

    def close(self):
        if self._connection:
            self._x11.XCloseDisplay(self._connection)
            self._connection = None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
