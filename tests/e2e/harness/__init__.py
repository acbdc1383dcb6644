"""Runs Zelvora.exe and Win32 test programs under Wine for the end-to-end tests; see README.md."""

from .client import WINDOW_CLASS, WINDOW_HEIGHT, WINDOW_TITLE, WINDOW_WIDTH, Client
from .image import Image
from .probe import IDOK, WM_CLOSE, WM_DESTROY
from .procs import terminate_on_sigterm
from .session import WineSession
from .udp import Datagram, UdpPeer

__all__ = ["Client", "Datagram", "IDOK", "Image", "UdpPeer", "WINDOW_CLASS", "WINDOW_HEIGHT", "WINDOW_TITLE",
           "WINDOW_WIDTH", "WM_CLOSE", "WM_DESTROY", "WineSession", "terminate_on_sigterm"]
