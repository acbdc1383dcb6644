#!/usr/bin/env python3
"""Mouth-to-ear latency between two clients through the reference network: tone bursts spoken into client
A's microphone, found again in client B's speaker. Run it in a network namespace of its own, after
tools/build.sh:

    tools/wine/isolated.sh tools/bench/talk_latency.py [--bursts 10]

The figure includes both sound servers and Wine's wave layer, which the design does not count; the design's
own floor is printed beside it.
"""

import argparse
import statistics
import struct
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "e2e"))

from harness import WM_DESTROY, Client  # noqa: E402
from harness.network import ReferenceNetwork  # noqa: E402
from launcher.sound import BYTES_PER_SECOND  # noqa: E402
from harness.tone import tone  # noqa: E402

LEAD = 1.0  # silence before the first burst
BURST = 0.5
PERIOD = 2.0
THRESHOLD = 4000  # a sample above it starts a burst
# One capture block and two device blocks of 125 ms; the queue's head start adds 31.25 ms per slot waiting.
FLOOR = 0.03125 + 2 * 0.125


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


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bursts", type=int, default=10)
    args = parser.parse_args()
    mic_pcm = bytearray(tone(0, LEAD))
    for _ in range(args.bursts):
        mic_pcm += tone(440, BURST) + tone(0, PERIOD - BURST)
    with ReferenceNetwork("bench_latency") as network, Client("bench_latency_a") as talker, \
            Client("bench_latency_b") as listener:
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
        heard = onsets(listener.sound.speaker_bytes()[heard_from:], heard_at)
        spoken = [spoken_at + LEAD + k * PERIOD for k in range(args.bursts)]
        latencies = [min((h - s for h in heard if h > s), default=None) for s in spoken]
        latencies = [x for x in latencies if x is not None and x < PERIOD]
        for client in (talker, listener):
            client.probe.post("class:X", WM_DESTROY)
            client.wait_exit(30)
    if not latencies:
        sys.exit("no burst was heard")
    print(f"bursts heard: {len(latencies)} of {args.bursts}")
    print(f"mouth-to-ear: median {1000 * statistics.median(latencies):.0f} ms, "
          f"min {1000 * min(latencies):.0f} ms, max {1000 * max(latencies):.0f} ms")
    print(f"design floor: {1000 * FLOOR:.0f} ms (one capture block, two device blocks), plus 31 ms per slot of "
          "the queue's head start")


if __name__ == "__main__":
    main()
