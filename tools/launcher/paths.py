"""Where the build trees, the Wine binaries and the Wine state live."""

import os
import re
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
BUILD = REPO / "build"
WINDOWS_BUILD = Path(os.environ.get("ZELVORA_WINDOWS_BUILD_DIR", BUILD / "windows"))
NATIVE_BUILD = Path(os.environ.get("ZELVORA_NATIVE_BUILD_DIR", BUILD / "native"))
RUN_DIR = WINDOWS_BUILD / "run"
CLIENT_EXE = RUN_DIR / "Zelvora.exe"
NETWORK_EXE = NATIVE_BUILD / "server" / "zelvora-network"

# Wine state: one template prefix, copied for every test into its own scratch folder.
WINE_STATE = BUILD / "wine"
TEMPLATE_PREFIX = WINE_STATE / "template"
SCRATCH = WINE_STATE / "scratch"
RECORD_URL_SCRIPT = REPO / "tools" / "wine" / "record-url.sh"

# The reference web service, and its certificate authority, made once and trusted by every prefix.
WEB_EXE = NATIVE_BUILD / "server" / "web" / "zelvora-web"
WEB_SEED_DIR = NATIVE_BUILD / "server" / "web" / "seed"
WEB_CA_DIR = BUILD / "web-ca"
WEB_CA_CERT = WEB_CA_DIR / "ca.pem"
MAKE_CERTIFICATES_SCRIPT = REPO / "tools" / "web" / "make-certificates.sh"
TRUST_CA_SCRIPT = REPO / "tools" / "wine" / "trust-ca.py"
ALLOW_PORT_443_SCRIPT = REPO / "tools" / "web" / "allow-port-443.sh"

# Debian's wine64 package puts neither binary on PATH.
WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"


def setup_program():
    """The setup program the windows preset makes, Zelvora-<version>-setup.exe (it may not be built yet)."""
    cache = (WINDOWS_BUILD / "CMakeCache.txt").read_text()
    version = re.search(r"^CMAKE_PROJECT_VERSION:STATIC=(.+)$", cache, re.MULTILINE).group(1)
    return WINDOWS_BUILD / f"Zelvora-{version}-setup.exe"
