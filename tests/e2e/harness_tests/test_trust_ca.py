"""The Root-store entry that makes a Wine prefix trust the reference web service's authority."""

import base64
import hashlib
import importlib.util
import struct
import unittest

from harness import paths

_spec = importlib.util.spec_from_file_location("trust_ca", paths.TRUST_CA_SCRIPT)
trust_ca = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(trust_ca)


def properties(blob):
    """The (id, reserved, bytes) records of a serialised certificate store element."""
    found = []
    while blob:
        prop_id, reserved, length = struct.unpack_from("<III", blob)
        found.append((prop_id, reserved, blob[12:12 + length]))
        blob = blob[12 + length:]
    return found


class RootStoreEntryTest(unittest.TestCase):
    def test_key_is_the_upper_hex_sha1_and_the_blob_its_sha1_then_its_der(self):
        der = bytes(range(256)) * 3
        pem = "subject=CN=x\n-----BEGIN CERTIFICATE-----\n" + "\n".join(
            base64.b64encode(der).decode()[i:i + 64] for i in range(0, 1024, 64)) + "\n-----END CERTIFICATE-----\n"
        key, blob = trust_ca.root_store_entry(trust_ca.der_of(pem))
        sha1 = hashlib.sha1(der).digest()
        self.assertEqual(key, sha1.hex().upper())
        self.assertEqual(properties(blob), [(3, 1, sha1), (0x20, 1, der)])


if __name__ == "__main__":
    unittest.main()
