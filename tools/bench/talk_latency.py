#!/usr/bin/env python3
"""Mouth-to-ear latency between two clients through the reference network: tone bursts spoken into client
A's microphone, found again in client B's speaker. Run it in a network namespace of its own, after
tools/build.sh:

    tools/bench/run.sh talk_latency [--rounds 3] [--bursts 6] [--busy] [--exe OTHER.exe]

Each round starts a fresh network and two fresh clients, so a delay that a client keeps from its start shows
as a spread between the rounds' medians. --busy keeps one core busy for the whole run; --exe runs another
build of the client. The figure includes both sound servers and Wine's wave layer, which the design does not
count; the design's own floor is printed beside it.
"""

import argparse
import shutil
import statistics
import struct
import subprocess
import sys
import time

from harness import WM_DESTROY, Client
from harness.paths import ARTIFACTS
from harness.tone import tone
from launcher.network import ReferenceNetwork
from launcher.sound import BYTES_PER_SECOND

LEAD = 1.0  # silence before the first burst
BURST = 0.5
PERIOD = 2.0
THRESHOLD = 4000  # a sample above it starts a burst
# One capture block and two device blocks of 125 ms; the queue's head start adds 31.25 ms per slot waiting.
FLOOR = 0.03125 + 2 * 0.125


class BenchClient(Client):
    """A client that runs `exe` instead of the build's Zelvora.exe when it is given."""

    def __init__(self, name, exe):
        super().__init__(name)
        self._exe = exe

    def __enter__(self):
        if self._exe is None:
            return super().__enter__()
        self.session.__enter__()
        try:
            run = self.session.copy_run_dir()
            shutil.copyfile(self._exe, run / "Zelvora.exe")
            self.program = self.session.launch(run / "Zelvora.exe", cwd=run)
        except BaseException:
            self.session.__exit__(None, None, None)
            raise
        return self


def onsets(pcm, start_time, gap=0.5):
    """Times of the first loud sample after at least `gap` seconds of quiet, on the left channel."""
    found, last_loud = [], None
    for i, (left, _) in enumerate(struct.iter_unpack("<hh", pcm[:len(pcm) // 4 * 4])):
        if abs(left) >= THRESHOLD:
            at = start_time + 4 * i / BYTES_PER_SECOND
            if last_loud is None or at - last_loud >= gap:
                found.append(at)
            last_loud = at
    return found


def run_round(index, args):
    """The latencies of one round's bursts heard, and how many of them were heard exactly as spoken."""
    burst = tone(440, BURST)
    mic_pcm = bytearray(tone(0, LEAD))
    for _ in range(args.bursts):
        mic_pcm += burst + tone(0, PERIOD - BURST)
    ARTIFACTS.mkdir(parents=True, exist_ok=True)
    with ReferenceNetwork(ARTIFACTS / f"bench_latency_{index}-network.log") as network, \
            BenchClient(f"bench_latency_{index}_a", args.exe) as talker, \
            BenchClient(f"bench_latency_{index}_b", args.exe) as listener:
        network.wait_for_client(channel=0, count=2, timeout=90)
        mic = talker.session.scratch / "mic.raw"
        mic.write_bytes(bytes(mic_pcm))
        talker.key_down("space")
        time.sleep(2.0)  # talking by now
        # The speaker file grows in real time: its length now is this moment.
        heard_from, heard_at = len(listener.sound.speaker_bytes()), time.monotonic()
        spoken_at = time.monotonic()
        talker.sound.play_microphone(mic)
        time.sleep(LEAD + args.bursts * PERIOD + 1.0)
        talker.key_up("space")
        heard_pcm = listener.sound.speaker_bytes()[heard_from:]
        for client in (talker, listener):
            client.probe.post("class:X", WM_DESTROY)
            client.wait_exit(30)
    heard = onsets(heard_pcm, heard_at)
    spoken = [spoken_at + LEAD + k * PERIOD for k in range(args.bursts)]
    latencies = [min((h - s for h in heard if h > s), default=None) for s in spoken]
    return [x for x in latencies if x is not None and x < PERIOD], heard_pcm.count(burst)


def ms(seconds):
    return f"{1000 * seconds:.0f} ms"


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--bursts", type=int, default=6, help="bursts per round, one every two seconds")
    parser.add_argument("--busy", action="store_true", help="keep one core busy during the run")
    parser.add_argument("--exe", help="another Zelvora.exe to run in place of the build's")
    args = parser.parse_args()
    spinner = subprocess.Popen([sys.executable, "-c", "while True: pass"]) if args.busy else None
    medians = []
    try:
        for index in range(args.rounds):
            latencies, exact = run_round(index, args)
            if not latencies:
                print(f"round {index + 1}: no burst heard", flush=True)
                continue
            medians.append(statistics.median(latencies))
            print(f"round {index + 1}: median {ms(medians[-1])}, min {ms(min(latencies))}, "
                  f"max {ms(max(latencies))}; heard {len(latencies)} of {args.bursts}, "
                  f"{exact} sample for sample", flush=True)
    finally:
        if spinner is not None:
            spinner.kill()
            spinner.wait()
    if not medians:
        sys.exit("no burst was heard")
    print(f"rounds' medians: {', '.join(ms(m) for m in medians)}; spread {ms(max(medians) - min(medians))}")
    print(f"design floor: {ms(FLOOR)} (one capture block, two device blocks), plus 31 ms per slot of the "
          "queue's head start")


if __name__ == "__main__":
    main()
