"""The output of a reference service, kept in memory for the tests and in an artefact file for people."""

import threading
import time


class KeptLog:
    def __init__(self, path, program_name):
        self._file = open(path, "w")
        self._program_name = program_name
        self._lines = []
        self._lock = threading.Lock()

    def keep(self, line):
        with self._lock:
            self._lines.append(line)
            self._file.write(line + "\n")
            self._file.flush()

    def lines(self):
        with self._lock:
            return list(self._lines)

    def wait_for(self, predicate, timeout, proc):
        """The first line that satisfies the predicate, waiting up to `timeout` s while `proc` runs."""
        deadline = time.monotonic() + timeout
        while True:
            found = [line for line in self.lines() if predicate(line)]
            if found:
                return found[0]
            if proc.poll() is not None:
                raise RuntimeError(f"{self._program_name} ended with {proc.returncode}: {self.lines()[-5:]}")
            if time.monotonic() > deadline:
                raise TimeoutError(f"no such line in the log of {self._program_name} after {timeout} s")
            time.sleep(0.1)

    def close(self):
        self._file.close()
