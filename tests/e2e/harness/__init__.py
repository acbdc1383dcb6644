"""Runs Zelvora.exe and Win32 test programs under Wine for the end-to-end tests; see README.md."""

# The processes, Wine prefixes, displays, sound servers and reference services are the launcher's
# (tools/launcher), found through PYTHONPATH like this package.
from launcher import image
from launcher.image import Image
from launcher.processes import terminate_on_sigterm

from .client import WINDOW_CLASS, WINDOW_HEIGHT, WINDOW_TITLE, WINDOW_WIDTH, Client
from . import protocol
from .probe import IDOK, WM_CLOSE, WM_DESTROY
from .session import WineSession
from .udp import Datagram, UdpPeer

__all__ = ["Client", "Datagram", "IDOK", "Image", "UdpPeer", "WINDOW_CLASS", "WINDOW_HEIGHT", "WINDOW_TITLE",
           "WINDOW_WIDTH", "WM_CLOSE", "WM_DESTROY", "WineSession", "image", "protocol", "terminate_on_sigterm"]
