#!/usr/bin/env python3
"""Usage: tools/wine/trust-ca.py PREFIX CA_PEM

Makes a Wine prefix trust a certificate authority, as Windows' machine Root store would: WinHTTP under Wine
reads the system bundle plus this registry store, and ignores SSL_CERT_FILE. Only the prefix changes; the
client's certificate checks stay as they are. The prefix's wineserver must not be running for another
prefix user at the same time."""

import base64
import hashlib
import os
import re
import struct
import subprocess
import sys

WINE = os.environ.get("WINE", "/usr/lib/wine/wine64")
ROOT_STORE = r"HKLM\Software\Microsoft\SystemCertificates\Root\Certificates"
SHA1_HASH_PROP_ID = 3
CERT_PROP_ID = 0x20


def der_of(pem_text):
    match = re.search(r"-----BEGIN CERTIFICATE-----(.*?)-----END CERTIFICATE-----", pem_text, re.S)
    if not match:
        raise ValueError("no certificate in the PEM file")
    return base64.b64decode("".join(match.group(1).split()))


def _property(prop_id, data):
    # A serialised store element: id, a reserved 1, the length, then the bytes, little-endian.
    return struct.pack("<III", prop_id, 1, len(data)) + data


def root_store_entry(der):
    """The registry key name and the "Blob" value that make this certificate a trusted root."""
    sha1 = hashlib.sha1(der).digest()
    return sha1.hex().upper(), _property(SHA1_HASH_PROP_ID, sha1) + _property(CERT_PROP_ID, der)


def trust(prefix, ca_pem):
    thumbprint, blob = root_store_entry(der_of(open(ca_pem).read()))
    env = dict(os.environ, WINEPREFIX=str(prefix), WINEDEBUG="-all")
    subprocess.run([WINE, "reg", "add", rf"{ROOT_STORE}\{thumbprint}", "/v", "Blob", "/t", "REG_BINARY",
                    "/d", blob.hex().upper(), "/f"], env=env, check=True, timeout=180, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return thumbprint


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    print(trust(sys.argv[1], sys.argv[2]))
