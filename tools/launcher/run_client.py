"""python3 -m launcher.run_client [--server] [--for SECONDS]: runs Zelvora.exe under Wine from its run
directory, with the reference network and web service on the client's fixed ports when --server is given. Uses
$DISPLAY when set; otherwise a private Xvfb with a window manager, of which it saves a screenshot a few seconds after
the window appears and another just before it stops the client. One run at a time: a second one says so and leaves
the first alone. Everything it started is stopped, by process id, when the client ends, SECONDS after the client
started, or on Ctrl-C."""

import argparse
import contextlib
import fcntl
import os
import shutil
import signal
import subprocess
import sys
import time

from . import paths, prefix
from .display import Display, can_open
from .network import ReferenceNetwork
from .processes import Processes, terminate_on_sigterm
from .services import ServiceDidNotStart
from .sound import Sound
from .web import WebService
from .window_manager import WindowManagerDidNotStart, start_window_manager

WINDOW_TITLE = "ZELVORA"
SCREENSHOT_DELAY = 4
WINDOW_TIMEOUT = 30
OUTPUT = paths.NATIVE_BUILD / "run-client"
SCREENSHOT = "screenshot.png"
SCREENSHOT_AT_STOP = "screenshot-at-stop.png"
PREFIX = paths.WINE_STATE / "client"
LOCK = paths.WINE_STATE / "run-client.lock"


def say(text, error=False):
    print(f"run-client: {text}", file=sys.stderr if error else sys.stdout, flush=True)


class AlreadyRunning(RuntimeError):
    pass


class DisplayUnavailable(RuntimeError):
    pass


def _check_display():
    """The X display named by DISPLAY, if any, must answer: Wine would otherwise end the client at once with
    exit code 0. Without DISPLAY a private one is made."""
    name = os.environ.get("DISPLAY")
    if name and not can_open(name):
        raise DisplayUnavailable(f"cannot open the X display {name!r} named by DISPLAY; unset DISPLAY to run the "
                                 "client on a private virtual display")


def _ignore_interrupts():
    """Stopping takes a few seconds and must not be cut short: a second Ctrl-C changes nothing."""
    signal.signal(signal.SIGINT, signal.SIG_IGN)


class RunLock:
    """Held for the whole run: the prefix, the fixed ports and the output files belong to one run at a time."""

    def __enter__(self):
        LOCK.parent.mkdir(parents=True, exist_ok=True)
        self._file = open(LOCK, "a+")
        try:
            fcntl.flock(self._file, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except BlockingIOError:
            self._file.seek(0)
            holder = self._file.read().strip() or "unknown"
            self._file.close()
            raise AlreadyRunning(holder) from None
        self._file.truncate(0)
        self._file.write(str(os.getpid()))
        self._file.flush()
        return self

    def __exit__(self, *exc):
        self._file.truncate(0)
        self._file.close()


def _system_sound_reachable():
    try:
        return subprocess.run(["pactl", "info"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=5).returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        return False


def _prepare_prefix():
    """The run's own prefix, kept between runs and made anew from the template when the template changes."""
    template_stamp = (prefix.ensure_template() / ".zelvora-template").read_text()
    stamp = PREFIX / ".zelvora-template"
    if not stamp.is_file() or stamp.read_text() != template_stamp:
        shutil.rmtree(PREFIX, ignore_errors=True)
        prefix.copy_template(PREFIX)
    return PREFIX


def _start_services(stack):
    """The reference network on the client's ports, and the web service on port 443 of localhost with its
    site on 30080, as the client is built by default. The web service keeps its database between runs."""
    network = stack.enter_context(ReferenceNetwork(OUTPUT / "network.log", control=None))
    say(f"reference network ready; its log goes to {network.log}")
    web = stack.enter_context(WebService(OUTPUT / "web.log", OUTPUT / "web.sqlite", site_port=30080,
                                         setup_program=paths.setup_program()))
    say(f"reference web service ready; its log goes to {web.log}")


def _private_display(procs):
    """Xvfb with a window manager, which draws the frames and captions of the client's boxes."""
    for earlier in (SCREENSHOT, SCREENSHOT_AT_STOP):
        (OUTPUT / earlier).unlink(missing_ok=True)
    display = Display(procs)
    try:
        start_window_manager(procs, display.name)
    except WindowManagerDidNotStart as failure:
        say(f"{failure}: the client's boxes will show without frame or caption", error=True)
    return display


def _wait_for_window(display, client, deadline):
    """True once the main window shows; False, having said why, when it does not."""
    limit = min(time.monotonic() + WINDOW_TIMEOUT, deadline)
    while time.monotonic() < limit:
        if display.find_windows(f"^{WINDOW_TITLE}$"):
            return True
        if client.poll() is not None:
            return False
        time.sleep(0.2)
    if time.monotonic() < deadline:
        say(f"the main window did not appear within {WINDOW_TIMEOUT} s", error=True)
    return False


def _sleep_until(seconds, client, deadline):
    end = min(time.monotonic() + seconds, deadline)
    while time.monotonic() < end and client.poll() is None:
        time.sleep(0.1)


def _watch(display, client, deadline):
    """Until the client ends or the deadline passes; on a private display, a screenshot once the window has
    shown a few seconds."""
    if display and _wait_for_window(display, client, deadline):
        _sleep_until(SCREENSHOT_DELAY, client, deadline)
        if client.poll() is None:
            display.screenshot().save_png(OUTPUT / SCREENSHOT)
            say(f"no X display, so the client runs on a private one; screenshot saved to {OUTPUT / SCREENSHOT}")
    say("Ctrl-C stops the client and everything started with it")
    _sleep_until(float("inf"), client, deadline)


def _run(args, procs, scratch, services):
    OUTPUT.mkdir(parents=True, exist_ok=True)
    if args.server:
        _start_services(services)
    display_name = os.environ.get("DISPLAY") or None
    display = None if display_name else _private_display(procs)
    # On a desktop the system's sound server plays the client; without one, a private one records it.
    sound = None
    if not (display_name and _system_sound_reachable()):
        sound = Sound(procs, scratch / "pulse", OUTPUT / "pulseaudio.log")
    extra = {"DISPLAY": display_name or display.name}
    if sound:
        extra.update(sound.env())
    env = prefix.wine_env(_prepare_prefix(), **extra)

    client = procs.start([paths.WINE, paths.CLIENT_EXE], env=env, cwd=paths.RUN_DIR, stdout=sys.stdout.fileno(),
                         stderr=subprocess.STDOUT)
    deadline = time.monotonic() + args.seconds if args.seconds else float("inf")
    say(f"Zelvora.exe started from {paths.RUN_DIR} on display {extra['DISPLAY']}")
    if sound:
        say(f"the client's sound will be saved to {OUTPUT / 'speaker.raw'} (raw 16-bit stereo, 8000 Hz)")
    try:
        _watch(display, client, deadline)
    except KeyboardInterrupt:
        pass
    _ignore_interrupts()
    code = client.poll()
    if code is None and display:
        # Boxes shown after the first screenshot (notices, the about box) are seen here or never.
        display.screenshot().save_png(OUTPUT / SCREENSHOT_AT_STOP)
        say(f"last screenshot saved to {OUTPUT / SCREENSHOT_AT_STOP}")
    say(f"the client ended with exit code {code}" if code is not None else
        "stopping the client and everything started with it")
    # Wine before the display and the sound server it uses; the prefix is this run's alone (RunLock).
    prefix.kill_processes_in(PREFIX)
    procs.close()
    if sound:
        sound.close()
        shutil.copyfile(sound.speaker_file, OUTPUT / "speaker.raw")
    services.close()
    say("stopped")
    return code or 0


def _positive_seconds(text):
    try:
        seconds = float(text)
    except ValueError:
        seconds = 0
    if not seconds > 0 or seconds == float("inf"):
        raise argparse.ArgumentTypeError(f"a positive number of seconds, not {text!r}")
    return seconds


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--server", action="store_true",
                        help="start the reference network and web service first")
    parser.add_argument("--for", dest="seconds", type=_positive_seconds,
                        help="stop everything this many seconds after the client started")
    parser.add_argument("--check-alone", action="store_true", help="only say whether another run is going")
    args = parser.parse_args()
    terminate_on_sigterm()
    try:
        with RunLock():
            _check_display()
            if args.check_alone:
                return 0
            procs = Processes()
            scratch = prefix.make_scratch("run-client")
            try:
                with contextlib.ExitStack() as services:
                    return _run(args, procs, scratch, services)
            except KeyboardInterrupt:
                _ignore_interrupts()
                say("interrupted; stopping everything started so far")
                return 130
            finally:
                _ignore_interrupts()
                prefix.kill_processes_in(PREFIX)
                procs.close()
                prefix.remove_scratch(scratch)
    except KeyboardInterrupt:
        return 130
    except AlreadyRunning as running:
        say(f"another run is going (process {running}); it is left alone. Stop it first (Ctrl-C in its "
            "terminal, or close its client).", error=True)
        return 1
    except DisplayUnavailable as failure:
        say(str(failure), error=True)
        return 1
    except ServiceDidNotStart as failure:
        say(f"a reference service did not start, so neither did the client: {failure}", error=True)
        return 1
    except FileNotFoundError as missing:
        say(str(missing), error=True)
        return 1
    except subprocess.CalledProcessError as failure:
        say(f"{failure.cmd[0]} failed (exit code {failure.returncode}), so the client was not started", error=True)
        return 1


if __name__ == "__main__":
    sys.exit(main())
