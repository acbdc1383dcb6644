"""Wine prefixes: one template made once under the build tree, a private copy for every run."""

import fcntl
import hashlib
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from contextlib import contextmanager
from pathlib import Path

from . import paths

# Bump when the recipe below changes, so that old templates are made anew.
_RECIPE = "7"


def wine_env(prefix, **extra):
    env = dict(os.environ)
    # Without winemenubuilder, a shortcut made in a prefix adds no menu entry or icon to the Linux desktop.
    env.update(WINEPREFIX=str(prefix), WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
    env.pop("WINESERVER", None)
    env.update({k: str(v) for k, v in extra.items()})
    return env


@contextmanager
def _locked(path):
    path.parent.mkdir(parents=True, exist_ok=True)
    with open(path, "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        try:
            yield
        finally:
            fcntl.flock(lock, fcntl.LOCK_UN)


def _stamp_text():
    authority = hashlib.sha256(paths.WEB_CA_CERT.read_bytes()).hexdigest()
    return f"recipe {_RECIPE}\nurl recorder {paths.RECORD_URL_SCRIPT}\nweb authority {authority}\n"


def ensure_web_certificates(folder=None):
    """A web service authority and certificate in `folder` (build/web-ca, the one prefixes trust, by
    default), made when missing."""
    folder = Path(folder or paths.WEB_CA_DIR)
    _run([paths.MAKE_CERTIFICATES_SCRIPT, folder], os.environ, timeout=60)
    return folder


def _run(argv, env, timeout=180):
    subprocess.run([str(a) for a in argv], env=env, check=True, timeout=timeout, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def _reg_add(env, key, name, kind, value):
    _run([paths.WINE, "reg", "add", key, "/v", name, "/t", kind, "/d", value, "/f"], env)


def _make_chime(path):
    path.parent.mkdir(parents=True, exist_ok=True)
    # A short two-note chime, so that the start-up sound has something real to play.
    _run(["sox", "-n", "-r", "22050", "-c", "1", "-b", "16", path, "synth", "0.25", "sine", "880", "sine",
          "1320", "fade", "0", "0.5", "0.2"], os.environ, timeout=30)


def ensure_template():
    """Returns the template prefix, creating it first when it is missing or out of date."""
    template = paths.TEMPLATE_PREFIX
    stamp = template / ".zelvora-template"
    ensure_web_certificates()
    with _locked(paths.WINE_STATE / "template.lock"):
        if stamp.is_file() and stamp.read_text() == _stamp_text():
            return template
        shutil.rmtree(template, ignore_errors=True)
        template.mkdir(parents=True)
        env = wine_env(template)
        env.pop("DISPLAY", None)
        try:
            _run([paths.WINE, "wineboot", "-i"], env)
            # A crash prints a backtrace and ends the process instead of waiting on a dialog forever.
            _reg_add(env, r"HKCU\Software\Wine\WineDbg", "ShowCrashDialog", "REG_DWORD", "0")
            # Web addresses opened by the client are written to a file instead of starting a browser.
            _reg_add(env, r"HKCU\Software\Wine\WineBrowser", "Browsers", "REG_SZ", str(paths.RECORD_URL_SCRIPT))
            # The client asks for Arial; Liberation Sans has its letter widths, so the layout is as on Windows.
            _reg_add(env, r"HKCU\Software\Wine\Fonts\Replacements", "Arial", "REG_SZ", "Liberation Sans")
            # The reference web service's authority is trusted here, in the prefix's machine Root store.
            _run([sys.executable, paths.TRUST_CA_SCRIPT, template, paths.WEB_CA_CERT], env)
            _make_chime(template / "drive_c" / "windows" / "Media" / "chimes.wav")
        finally:
            subprocess.run([paths.WINESERVER, "-k"], env=env, stderr=subprocess.DEVNULL)
            subprocess.run([paths.WINESERVER, "-w"], env=env)
        stamp.write_text(_stamp_text())
        return template


def _sweep_abandoned_scratch():
    # Scratch folders are named after the PID of the harness that made them.
    if not paths.SCRATCH.is_dir():
        return
    for entry in paths.SCRATCH.iterdir():
        pid = entry.name.split("-", 1)[0]
        if pid.isdigit() and not Path(f"/proc/{pid}").exists():
            shutil.rmtree(entry, ignore_errors=True)


def make_scratch(name):
    """A private folder for one run, removed by remove_scratch (or swept once its harness is gone)."""
    paths.SCRATCH.mkdir(parents=True, exist_ok=True)
    _sweep_abandoned_scratch()
    safe = "".join(c if c.isalnum() or c in "-_." else "_" for c in name)
    return Path(tempfile.mkdtemp(prefix=f"{os.getpid()}-{safe}-", dir=paths.SCRATCH))


def copy_template(destination, serial=None):
    """Copies the template into destination (never hard links: Wine rewrites the registry files in place)."""
    template = ensure_template()
    subprocess.run(["cp", "-a", str(template), str(destination)], check=True)
    if serial is not None:
        # Read by the wineserver when it starts: the volume serial number of C:.
        (destination / "drive_c" / ".windows-serial").write_text(f"{serial:08X}")
    return destination


def stop_wine(prefix):
    """Ends every Windows process of this prefix and waits for its wineserver to go."""
    env = wine_env(prefix)
    subprocess.run([paths.WINESERVER, "-k"], env=env, stderr=subprocess.DEVNULL, timeout=30)
    try:
        subprocess.run([paths.WINESERVER, "-w"], env=env, stderr=subprocess.DEVNULL, timeout=30)
    except subprocess.TimeoutExpired:
        pass


def processes_in(prefix):
    """Process ids of everything Wine runs in this prefix: its wineserver, the Windows programs and Wine's own
    helpers (each in a session of its own, so out of reach of their starter's process group)."""
    wanted = b"WINEPREFIX=" + os.fsencode(prefix)
    found = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            if wanted in (entry / "environ").read_bytes().split(b"\0"):
                found.append(int(entry.name))
        except OSError:
            continue  # gone meanwhile, or not ours to read
    return found


def kill_processes_in(prefix, timeout=10):
    """Ends, by process id, everything Wine runs in a prefix that belongs to the caller alone."""
    pids = processes_in(prefix)
    for pid in pids:
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    deadline = time.monotonic() + timeout
    while any(_running(pid) for pid in pids) and time.monotonic() < deadline:
        time.sleep(0.1)


def _running(pid):
    """False once the process has ended, even while it waits as a zombie for its parent (the caller's own
    children are reaped only later, when their Popen is waited for)."""
    try:
        stat = Path(f"/proc/{pid}/stat").read_text()
    except OSError:
        return False
    return stat.rpartition(")")[2].split()[0] != "Z"


def remove_scratch(path):
    shutil.rmtree(path, ignore_errors=True)


if __name__ == "__main__":
    print(ensure_template())
