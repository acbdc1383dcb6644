"""Where the build trees, the Wine binaries and the test artefacts live."""

import os
from pathlib import Path

REPO = Path(__file__).resolve().parents[3]
BUILD = REPO / "build"
WINDOWS_BUILD = Path(os.environ.get("ZELVORA_WINDOWS_BUILD_DIR", BUILD / "windows"))
NATIVE_BUILD = Path(os.environ.get("ZELVORA_NATIVE_BUILD_DIR", BUILD / "native"))
RUN_DIR = WINDOWS_BUILD / "run"
CLIENT_EXE = RUN_DIR / "Zelvora.exe"
PROBE_EXE = WINDOWS_BUILD / "tests" / "win32" / "harness" / "zelvora-probe.exe"
ARTIFACTS = NATIVE_BUILD / "e2e-artifacts"

# Wine state: one template prefix, copied for every test into its own scratch folder.
WINE_STATE = BUILD / "wine"
TEMPLATE_PREFIX = WINE_STATE / "template"
SCRATCH = WINE_STATE / "scratch"
RECORD_URL_SCRIPT = REPO / "tools" / "wine" / "record-url.sh"

# The reference web service's certificate authority, made once, and trusted by every prefix.
WEB_CA_DIR = BUILD / "web-ca"
WEB_CA_CERT = WEB_CA_DIR / "ca.pem"
MAKE_CERTIFICATES_SCRIPT = REPO / "tools" / "web" / "make-certificates.sh"
TRUST_CA_SCRIPT = REPO / "tools" / "wine" / "trust-ca.py"

# Debian's wine64 package puts neither binary on PATH.
WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
