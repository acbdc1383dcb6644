"""python3 -m harness.run_client [--server EXE] [--for SECONDS]: runs Zelvora.exe under Wine from the run
directory, with the reference network beside it when --server is given. Uses $DISPLAY when set; otherwise
a private Xvfb, of which it saves a screenshot after a few seconds. Everything it started is stopped when the
client ends, after SECONDS, or on Ctrl-C."""

import argparse
import os
import shutil
import subprocess
import sys
import time

from . import paths
from .client import WINDOW_TITLE
from .procs import terminate_on_sigterm
from .session import WineSession

SCREENSHOT_DELAY = 4
OUTPUT = paths.NATIVE_BUILD / "run-client"


def _system_sound_reachable():
    try:
        return subprocess.run(["pactl", "info"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=5).returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        return False


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--server", help="the reference network program, started with 'serve'")
    parser.add_argument("--for", dest="seconds", type=float, help="stop everything after this many seconds")
    args = parser.parse_args()
    terminate_on_sigterm()
    OUTPUT.mkdir(parents=True, exist_ok=True)
    display = os.environ.get("DISPLAY") or None
    # On a desktop the system's sound server plays the client; without one, a private one records it.
    private_sound = not (display and _system_sound_reachable())
    with WineSession("run-client", display=display, sound=private_sound,
                     prefix_dir=paths.WINE_STATE / "client") as session:
        if args.server:
            log = OUTPUT / "network.log"
            with open(log, "wb") as out:
                session.procs.start([args.server, "serve"], stdout=out, stderr=subprocess.STDOUT)
            print(f"run-client: reference network started, its output goes to {log}")
        client = session.launch(paths.CLIENT_EXE, cwd=paths.RUN_DIR, stdout=sys.stdout.fileno())
        print(f"run-client: Zelvora.exe started from {paths.RUN_DIR} on display {display or session.display.name}")
        speaker_copy = OUTPUT / "speaker.raw"
        if session.sound:
            print(f"run-client: the client's sound will be saved to {speaker_copy} (raw 16-bit stereo, 8000 Hz)")
        if not display:
            _save_screenshot(session, client)
        deadline = time.monotonic() + args.seconds if args.seconds else None
        print("run-client: Ctrl-C stops the client and everything started with it")
        try:
            while client.running() and (deadline is None or time.monotonic() < deadline):
                time.sleep(0.2)
        except KeyboardInterrupt:
            pass
        code = client.proc.poll()
        if session.sound:
            shutil.copyfile(session.sound.speaker_file, speaker_copy)
        print(f"run-client: the client ended with exit code {code}" if code is not None
              else "run-client: stopping the client")
    return code or 0


def _save_screenshot(session, client):
    try:
        session.display.wait_window(f"^{WINDOW_TITLE}$", timeout=30)
    except TimeoutError:
        print("run-client: the main window did not appear within 30 s", file=sys.stderr)
    time.sleep(SCREENSHOT_DELAY)
    if client.running():
        path = OUTPUT / "screenshot.png"
        session.display.screenshot().save_png(path)
        print(f"run-client: no X display, so the client runs on a private one; screenshot saved to {path}")


if __name__ == "__main__":
    sys.exit(main())
