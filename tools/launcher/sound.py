"""A private PulseAudio server: the microphone plays a file the test chooses, the speaker lands in a file."""

import os
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

RATE = 8000
CHANNELS = 2
# 16-bit little-endian stereo: a byte offset in the speaker file is a time.
BYTES_PER_SECOND = RATE * CHANNELS * 2
# sun_path holds 108 bytes with its NUL; PulseAudio cuts a longer socket path without a word, and the
# harness then waited for a socket that had been made under another name.
_MAX_SOCKET_PATH = 107
_LOG_LINES_ON_FAILURE = 20


class Sound:
    """PulseAudio in folder `root`; every sample the client plays is appended to `speaker_file`."""

    def __init__(self, procs, root, log):
        self._procs = procs
        self.root = Path(root)
        self.root.mkdir(parents=True, exist_ok=True)
        self.log = Path(log)
        # The socket lives in a short folder of its own: the scratch folder's path grows with the checkout's.
        self._socket_dir = Path(tempfile.mkdtemp(prefix="zelvora-pulse-"))
        self.socket = self._socket_dir / "native"
        try:
            if len(str(self.socket)) > _MAX_SOCKET_PATH:
                raise RuntimeError(f"{self.socket}: too long for a Unix socket; set TMPDIR to a shorter folder")
            self.speaker_file = self.root / "speaker.raw"
            self._mic = None
            fifo = self.root / "spk.fifo"
            os.mkfifo(fifo)
            self._env = dict(os.environ, HOME=str(self.root), XDG_RUNTIME_DIR=str(self.root),
                             PULSE_SERVER=f"unix:{self.socket}")
            # No realtime threads nor raised priority: a test's sound server must not outrank the programs it
            # serves on shared cores, and a non-root run would ask rtkit over D-Bus for them.
            with open(self.log, "wb") as log_file:
                self.server = procs.start(
                    ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes",
                     "--high-priority=no", "--realtime=no", "--log-target=stderr", "--log-level=info", "--log-time=1",
                     "-L", f"module-native-protocol-unix socket={self.socket} auth-anonymous=1", "-L",
                     f"module-pipe-sink sink_name=spk file={fifo} format=s16le rate={RATE} channels={CHANNELS} "
                     "use_system_clock_for_timing=yes", "-L",
                     f"module-null-sink sink_name=micfeed format=s16le rate={RATE} channels={CHANNELS}"],
                    env=self._env, stdout=log_file, stderr=subprocess.STDOUT)
            self._wait_ready()
            self._pactl("set-default-sink", "spk")
            self._pactl("set-default-source", "micfeed.monitor")
            # The pipe sink blocks when nobody reads it: drain it into the speaker file from the start.
            with open(self.speaker_file, "wb") as out:
                self._reader = procs.start(["cat", fifo], stdout=out)
        except BaseException:
            self.close()
            raise

    def close(self):
        """Removes the socket's folder; the daemon itself is stopped by `procs`."""
        shutil.rmtree(self._socket_dir, ignore_errors=True)

    def env(self):
        return {"PULSE_SERVER": f"unix:{self.socket}"}

    def _pactl(self, *args, check=True):
        return subprocess.run(["pactl", *args], env=self._env, check=check, timeout=10,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def _wait_ready(self, timeout=15):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.server.poll() is not None:
                raise RuntimeError(f"pulseaudio ended at start with {self.server.returncode}{self._log_tail()}")
            if self.socket.exists() and self._pactl("info", check=False).returncode == 0:
                return
            time.sleep(0.1)
        raise TimeoutError(f"pulseaudio did not become ready on {self.socket} within {timeout} s{self._log_tail()}")

    def _log_tail(self):
        lines = self.log.read_text(errors="replace").splitlines()[-_LOG_LINES_ON_FAILURE:]
        return "; its log (" + str(self.log) + ") ends:\n" + "\n".join(lines)

    def play_microphone(self, raw_file):
        """Feeds a raw s16le 8000 Hz stereo file to the microphone, in real time, replacing any earlier feed."""
        self.stop_microphone()
        self._mic = self._procs.start(
            ["pacat", "--latency-msec=50", "-p", "-d", "micfeed", f"--rate={RATE}", f"--channels={CHANNELS}",
             "--format=s16le", "--raw", str(raw_file)], env=self._env, stderr=subprocess.DEVNULL)
        return self._mic

    def stop_microphone(self):
        if self._mic is not None:
            self._procs.stop(self._mic)
            self._mic = None

    def speaker_bytes(self):
        """Everything played so far."""
        return self.speaker_file.read_bytes()
