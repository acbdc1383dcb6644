"""Runs Zelvora.exe and Win32 test programs under Wine for the end-to-end tests; see README.md."""

import sys
from pathlib import Path

# The processes, Wine prefixes, displays and sound servers are the launcher's (tools/launcher).
_TOOLS = str(Path(__file__).resolve().parents[3] / "tools")
if _TOOLS not in sys.path:
    sys.path.insert(0, _TOOLS)

from launcher import image  # noqa: E402
from launcher.image import Image  # noqa: E402
from launcher.processes import terminate_on_sigterm  # noqa: E402

from .client import WINDOW_CLASS, WINDOW_HEIGHT, WINDOW_TITLE, WINDOW_WIDTH, Client  # noqa: E402
from .probe import IDOK, WM_CLOSE, WM_DESTROY  # noqa: E402
from .session import WineSession  # noqa: E402
from .udp import Datagram, UdpPeer  # noqa: E402

__all__ = ["Client", "Datagram", "IDOK", "Image", "UdpPeer", "WINDOW_CLASS", "WINDOW_HEIGHT", "WINDOW_TITLE",
           "WINDOW_WIDTH", "WM_CLOSE", "WM_DESTROY", "WineSession", "image", "terminate_on_sigterm"]
