"""A private PulseAudio server: the microphone plays a file the test chooses, the speaker lands in a file."""

import os
import subprocess
import time
from pathlib import Path

RATE = 8000
CHANNELS = 2
# 16-bit little-endian stereo: a byte offset in the speaker file is a time.
BYTES_PER_SECOND = RATE * CHANNELS * 2


class Sound:
    """PulseAudio in folder `root`; every sample the client plays is appended to `speaker_file`."""

    def __init__(self, procs, root):
        self._procs = procs
        self.root = Path(root)
        self.root.mkdir(parents=True, exist_ok=True)
        self.socket = self.root / "native"
        self.speaker_file = self.root / "speaker.raw"
        self._mic = None
        fifo = self.root / "spk.fifo"
        os.mkfifo(fifo)
        self._env = dict(os.environ, HOME=str(self.root), XDG_RUNTIME_DIR=str(self.root),
                         PULSE_SERVER=f"unix:{self.socket}")
        self.server = procs.start(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes",
             "--log-target=stderr", "--log-level=error", "-L",
             f"module-native-protocol-unix socket={self.socket} auth-anonymous=1", "-L",
             f"module-pipe-sink sink_name=spk file={fifo} format=s16le rate={RATE} channels={CHANNELS} "
             "use_system_clock_for_timing=yes", "-L",
             f"module-null-sink sink_name=micfeed format=s16le rate={RATE} channels={CHANNELS}"],
            env=self._env, stderr=subprocess.DEVNULL)
        self._wait_ready()
        self._pactl("set-default-sink", "spk")
        self._pactl("set-default-source", "micfeed.monitor")
        # The pipe sink blocks when nobody reads it: drain it into the speaker file from the start.
        with open(self.speaker_file, "wb") as out:
            self._reader = procs.start(["cat", fifo], stdout=out)

    def env(self):
        return {"PULSE_SERVER": f"unix:{self.socket}"}

    def _pactl(self, *args, check=True):
        return subprocess.run(["pactl", *args], env=self._env, check=check, timeout=10,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def _wait_ready(self, timeout=15):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.server.poll() is not None:
                raise RuntimeError("pulseaudio ended at start")
            if self.socket.exists() and self._pactl("info", check=False).returncode == 0:
                return
            time.sleep(0.1)
        raise TimeoutError("pulseaudio did not become ready")

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
