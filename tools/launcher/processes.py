"""Processes a test starts, each ended by its PID when the test is over, even when it fails."""

import os
import signal
import subprocess

# A harness killed by a CTest time-out must not leave Xvfb or PulseAudio behind (and a preexec_fn is unsafe
# while the UDP peers' threads run).
_DIE_WITH_PARENT = ["setpriv", "--pdeathsig", "KILL", "--"]


def terminate_on_sigterm():
    """Turns SIGTERM into SystemExit so that `with` blocks clean up."""

    def handler(signum, frame):
        raise SystemExit(128 + signum)

    signal.signal(signal.SIGTERM, handler)


class Processes:
    """Starts processes in their own process groups and ends them, last started first."""

    def __init__(self):
        self._started = []

    def start(self, argv, *, env=None, cwd=None, stdin=subprocess.DEVNULL, stdout=None, stderr=None,
              pass_fds=()):
        proc = subprocess.Popen(_DIE_WITH_PARENT + [str(a) for a in argv], env=env, cwd=cwd, stdin=stdin,
                                stdout=stdout, stderr=stderr, pass_fds=pass_fds, start_new_session=True)
        self._started.append(proc)
        return proc

    @staticmethod
    def stop(proc, grace=3.0):
        if proc.poll() is None:
            _signal_group(proc.pid, signal.SIGTERM)
            try:
                proc.wait(grace)
            except subprocess.TimeoutExpired:
                pass
        # The group may outlive its leader (a shell's children): end it in any case.
        _signal_group(proc.pid, signal.SIGKILL)
        if proc.poll() is None:
            proc.wait()

    def close(self):
        while self._started:
            self.stop(self._started.pop())


def _signal_group(pgid, sig):
    try:
        os.killpg(pgid, sig)
    except (ProcessLookupError, PermissionError):
        pass
