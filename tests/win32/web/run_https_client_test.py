"""Usage: run_https_client_test.py EXE [stalled]

Runs the HTTPS client's Win32 test program under Wine twice: against the reference web service with its
trusted certificate and the fixtures the program asks for, then against the same service presenting a
certificate from an authority the prefix does not trust. With "stalled", runs it once against a stand-in
service that stops reading an upload instead (in a network namespace of its own: port 443 stays taken a while
after a service ends). Exits with the number of failed runs."""

import sys
from pathlib import Path

from PIL import Image

from harness import WineSession, terminate_on_sigterm
from harness.stalling_web import StallingWebService
from harness.web import WebService
from launcher.prefix import ensure_web_certificates

TEN_MILLION = 10_000_000


def write_fixtures(folder):
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "empty").write_bytes(b"")
    (folder / "five").write_bytes(b"Salut")
    # Byte i is i % 251 + 1: never 0, so a stray end mark would show.
    block = bytes(i % 251 + 1 for i in range(251))
    (folder / "ten-million").write_bytes((block * (TEN_MILLION // 251 + 1))[:TEN_MILLION])
    Image.new("RGB", (40, 30), (200, 120, 40)).save(folder / "photo.jpg", "JPEG")
    half = Image.new("RGBA", (8, 4), (255, 255, 255, 255))
    half.paste((255, 255, 255, 0), (0, 0, 4, 4))
    half.save(folder / "half-transparent.png", "PNG")


def main(argv):
    if len(argv) not in (2, 3) or argv[2:] not in ([], ["stalled"]):
        print(__doc__, file=sys.stderr)
        return 2
    terminate_on_sigterm()
    exe = Path(argv[1]).resolve()
    failures = 0
    if argv[2:] == ["stalled"]:
        with WineSession("win32-web-https-client-stalled", sound=False) as session, StallingWebService("body"):
            return session.launch(exe, ["stalled"], stdout=sys.stdout.fileno()).wait_exit(120) != 0
    with WineSession("win32-web-https-client", sound=False) as session:
        fixtures = session.scratch / "fixtures"
        write_fixtures(fixtures)
        with WebService("win32-web-https-client", fixtures=fixtures):
            failures += session.launch(exe, ["trusted"], stdout=sys.stdout.fileno()).wait_exit(120) != 0
        untrusted = ensure_web_certificates(session.scratch / "untrusted-ca")
        with WebService("win32-web-https-client-untrusted", certificates=untrusted):
            failures += session.launch(exe, ["untrusted"], stdout=sys.stdout.fileno()).wait_exit(60) != 0
    sys.stdout.flush()
    return failures


if __name__ == "__main__":
    sys.exit(main(sys.argv))
