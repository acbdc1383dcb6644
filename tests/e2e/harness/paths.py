"""Where the test artefacts and the probe live, beside the launcher's build and Wine paths."""

from launcher.paths import (BUILD, CLIENT_EXE, MAKE_CERTIFICATES_SCRIPT, NATIVE_BUILD, NETWORK_EXE,
                            RECORD_URL_SCRIPT, REPO, RUN_DIR, SCRATCH, TEMPLATE_PREFIX, TRUST_CA_SCRIPT, WEB_CA_CERT,
                            WEB_CA_DIR, WINDOWS_BUILD, WINE, WINE_STATE, WINESERVER)

PROBE_EXE = WINDOWS_BUILD / "tests" / "win32" / "harness" / "zelvora-probe.exe"
ARTIFACTS = NATIVE_BUILD / "e2e-artifacts"
__all__ = ["ARTIFACTS", "BUILD", "CLIENT_EXE", "MAKE_CERTIFICATES_SCRIPT", "NATIVE_BUILD", "NETWORK_EXE", "PROBE_EXE",
           "RECORD_URL_SCRIPT", "REPO", "RUN_DIR", "SCRATCH", "TEMPLATE_PREFIX", "TRUST_CA_SCRIPT", "WEB_CA_CERT",
           "WEB_CA_DIR", "WINDOWS_BUILD", "WINE", "WINE_STATE", "WINESERVER"]
