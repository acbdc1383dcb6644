"""The reference services (`zelvora-network serve`, `zelvora-web`) started and watched until they say they
are ready, or until they say why they are not."""

import subprocess
import threading
import time

from .kept_log import KeptLog
from .processes import Processes

# Lines kept to explain a start that failed: a service writes its reason just before it ends.
_LAST_LINES = 5


class ServiceDidNotStart(RuntimeError):
    pass


class Service:
    """Starts `argv` through `procs`; every line it writes (standard output and error) goes to `on_line`,
    from a thread of its own. Its first line with the word "ready" (after the time, if any) says it is."""

    def __init__(self, procs, argv, on_line):
        if not argv[0].is_file():
            raise FileNotFoundError(f"{argv[0]} is missing: build the native preset first")
        self.name = argv[0].name
        self._on_line = on_line
        self._ready_line = None
        self._last = []
        self._seen = threading.Condition()
        self.proc = procs.start(argv, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()

    def _read(self):
        for raw in self.proc.stdout:
            line = raw.decode("utf-8", "replace").rstrip("\n")
            self._on_line(line)
            with self._seen:
                self._last = (self._last + [line])[-_LAST_LINES:]
                if self._ready_line is None and "ready" in line.split(" ", 2)[:2]:
                    self._ready_line = line
                self._seen.notify_all()
        with self._seen:
            self._seen.notify_all()

    def wait_ready(self, timeout=20):
        """The ready line; ServiceDidNotStart, with the service's own words, when it ended instead."""
        deadline = time.monotonic() + timeout
        with self._seen:
            while self._ready_line is None:
                if self.proc.poll() is not None and not self._reader.is_alive():
                    reason = "; ".join(self._last) or "no output"
                    raise ServiceDidNotStart(f"{self.name} ended with exit code {self.proc.returncode}: {reason}")
                if time.monotonic() > deadline:
                    raise ServiceDidNotStart(f"{self.name} said nothing of being ready within {timeout} s")
                self._seen.wait(0.2)
            return self._ready_line

    def close(self):
        """Waits for the output to be read to its end; the process itself is stopped by `procs`."""
        self._reader.join(5)
        self.proc.stdout.close()


class LoggedService:
    """A reference service for the length of a `with` block: its output goes to the file `self.log` and stays
    readable through `log_lines()` and `wait_for_log()`. A subclass's __enter__ calls `_start`."""

    log = None
    exit_code = None

    def _start(self, argv, program_name):
        """Starts the service and returns its ready line; ServiceDidNotStart, with its own words, if it ends."""
        self._log = KeptLog(self.log, program_name)
        self._procs = Processes()
        self._program = None
        try:
            self._program = Service(self._procs, argv, self._log.keep)
            return self._program.wait_ready(timeout=20)
        except BaseException:
            self.__exit__()
            raise

    def __exit__(self, *exc):
        self._procs.close()
        if self._program is not None:
            self.exit_code = self._program.proc.returncode
            self._program.close()
        self._log.close()

    def log_lines(self):
        return self._log.lines()

    def wait_for_log(self, predicate, timeout=20):
        """The first log line that satisfies the predicate, waiting for it up to `timeout` s."""
        return self._log.wait_for(predicate, timeout, self._program.proc)
