"""One run of Windows programs under Wine: a prefix, a display, a sound server, and their clean-up."""

import contextlib
import shutil
import subprocess
import sys
import time
from pathlib import Path

from launcher import prefix
from launcher.display import Display
from launcher.processes import Processes
from launcher.sound import Sound

from . import paths
from .probe import Probe


class Program:
    """A Windows program started under Wine; `cwd` is its working directory."""

    def __init__(self, proc, cwd, log):
        self.proc = proc
        self.cwd = cwd
        self.log = log

    def running(self):
        return self.proc.poll() is None

    def wait_exit(self, timeout=30):
        """The program's exit code, once it has ended."""
        try:
            code = self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise TimeoutError(f"the program still runs after {timeout} s") from None
        if code < 0 and self.log is not None:
            # Killed by a signal: what Wine printed last is all CI keeps of it.
            tail = self.log.read_bytes()[-2000:].decode("utf-8", "replace")
            print(f"{self.log.name} ended by signal {-code}; its last output:\n{tail}", file=sys.stderr)
        return code


class WineSession:
    """Use as a context manager. `name` names the scratch and artefact folders; `serial` fixes the volume
    serial number of C:; `display` is an X display to use instead of a private Xvfb; `sound=False` keeps
    the system's sound server; `prefix_dir` keeps the prefix there between runs instead of a scratch copy."""

    def __init__(self, name, *, serial=None, display=None, sound=True, prefix_dir=None):
        self.name = name
        self._serial = serial
        self._display_name = display
        self._want_sound = sound
        self._prefix_dir = Path(prefix_dir) if prefix_dir else None
        self._launched = 0
        self._programs = []
        self._probe = None

    def __enter__(self):
        self.procs = Processes()
        self.scratch = prefix.make_scratch(self.name)
        self.prefix = None
        self.sound = None
        try:
            self.artifacts = paths.ARTIFACTS / self.name
            shutil.rmtree(self.artifacts, ignore_errors=True)
            self.artifacts.mkdir(parents=True)
            self.prefix = self._prepare_prefix()
            self.display = None if self._display_name else Display(self.procs)
            if self._want_sound:
                self.sound = Sound(self.procs, self.scratch / "pulse", self.artifacts / "pulseaudio.log")
            extra = {"DISPLAY": self._display_name or self.display.name}
            if self.sound:
                extra.update(self.sound.env())
            self.env = prefix.wine_env(self.prefix, **extra)
        except BaseException:
            self._clean_up()
            raise
        return self

    def __exit__(self, *exc):
        self._clean_up()

    def _prepare_prefix(self):
        if self._prefix_dir is None:
            return prefix.copy_template(self.scratch / "prefix", self._serial)
        template_stamp = (prefix.ensure_template() / ".zelvora-template").read_text()
        stamp = self._prefix_dir / ".zelvora-template"
        if not stamp.is_file() or stamp.read_text() != template_stamp:
            shutil.rmtree(self._prefix_dir, ignore_errors=True)
            prefix.copy_template(self._prefix_dir)
        if self._serial is not None:
            (self._prefix_dir / "drive_c" / ".windows-serial").write_text(f"{self._serial:08X}")
        return self._prefix_dir

    def _clean_up(self):
        try:
            self._record_programs()
            if self.prefix is not None:
                prefix.stop_wine(self.prefix)
        finally:
            self.procs.close()
            if self.sound is not None:
                self.sound.close()
            prefix.remove_scratch(self.scratch)

    @property
    def probe(self):
        if self._probe is None:
            self._probe = Probe(self.env)
        return self._probe

    def copy_run_dir(self, remove_files=()):
        """A private copy of the client's run directory, without the named installation files."""
        if not paths.CLIENT_EXE.is_file():
            raise FileNotFoundError(f"{paths.CLIENT_EXE} is missing: build the windows preset first")
        self._launched += 1
        run = self.scratch / f"run-{self._launched}"
        shutil.copytree(paths.RUN_DIR, run)
        for name in remove_files:
            (run / name).unlink()
        return run

    def launch(self, exe, args=(), cwd=None, stdout=None):
        """Starts a Windows program (a Linux path) with `cwd` (default: its folder) as working directory.
        Its output goes to `stdout`, or to a log among the artefacts."""
        cwd = Path(cwd or Path(exe).parent)
        log = None
        if stdout is None:
            log = self.artifacts / f"{Path(exe).stem}-{self._launched}.log"
            stdout = open(log, "wb")
        try:
            proc = self.procs.start([paths.WINE, exe, *args], env=self.env, cwd=cwd, stdout=stdout,
                                    stderr=subprocess.STDOUT)
        finally:
            if log is not None:
                stdout.close()
        program = Program(proc, cwd, log)
        self._programs.append((Path(exe).name, program))
        return program

    def _record_programs(self):
        """Whether each program still ran when the session ended, or its exit code: a failed test's artefacts
        then tell a program that ended early from one that was still there."""
        if not self._programs:
            return
        lines = [f"{name} pid {program.proc.pid}: "
                 + ("running" if program.proc.poll() is None else f"exit code {program.proc.returncode}")
                 for name, program in self._programs]
        (self.artifacts / "programs.txt").write_text("\n".join(lines) + "\n")

    def launch_client(self, remove_files=()):
        """Starts Zelvora.exe in a fresh copy of the run directory."""
        run = self.copy_run_dir(remove_files)
        return self.launch(run / "Zelvora.exe", cwd=run)

    def dismiss_boxes_until_exit(self, program, timeout=60):
        """Presses OK on every message box until the program ends; returns its exit code and the boxes
        seen, as (caption, text) pairs in order."""
        seen, handled = [], set()
        deadline = time.monotonic() + timeout
        while program.running():
            if time.monotonic() > deadline:
                raise TimeoutError(f"the program still runs after {timeout} s; boxes seen: {seen}")
            for box in self.probe.message_boxes():
                if box["hwnd"] not in handled:
                    handled.add(box["hwnd"])
                    seen.append((box["title"], box["text"]))
                    self.probe.press(box["hwnd"])
            time.sleep(0.2)
        return program.wait_exit(), seen

    def wait_until_no_program_runs(self, timeout=60):
        """Waits until every Windows program of the prefix has ended and its wineserver has gone, having saved
        the registry files; for a program that hands its work on to another (an uninstaller to its copy)."""
        subprocess.run([paths.WINESERVER, "-w"], env=self.env, timeout=timeout, check=True)

    def screenshot(self, name):
        """Saves the whole screen as <artefacts>/<name>.png and returns it as an image.Image."""
        picture = self.display.screenshot()
        picture.save_png(self.artifacts / f"{name}.png")
        return picture

    def opened_urls(self):
        """The web addresses the programs asked the system to open, in order."""
        log = self.prefix / "opened-urls.txt"
        return log.read_text().splitlines() if log.is_file() else []

    def wait_until(self, condition, timeout=20, interval=0.2, what="the condition", seen=None):
        """Polls `condition` until it holds; past `timeout`, raises TimeoutError, saying what `seen` (a
        callable) then returns when given, and saving the screen as <artefacts>/timeout.png."""
        deadline = time.monotonic() + timeout
        while not condition():
            if time.monotonic() > deadline:
                observed = f"; seen: {seen()!r}" if seen is not None else ""
                with contextlib.suppress(Exception):  # the report must not hide the time-out
                    self.screenshot("timeout")
                raise TimeoutError(f"{what} did not hold within {timeout} s{observed}")
            time.sleep(interval)
