"""Test tones in the voice format (s16le, 8000 frames per second, stereo) and finding them again in sound."""

import math
import struct

from launcher.sound import BYTES_PER_SECOND, RATE

FRAME_BYTES = 4


def tone(frequency, seconds, amplitude=12000):
    """A sine of `frequency` Hz on both channels."""
    frames = int(RATE * seconds)
    samples = (int(amplitude * math.sin(2 * math.pi * frequency * i / RATE)) for i in range(frames))
    return b"".join(struct.pack("<hh", s, s) for s in samples)


def left_channel(pcm):
    usable = len(pcm) - len(pcm) % FRAME_BYTES
    return [left for left, _ in struct.iter_unpack("<hh", pcm[:usable])]


def frequency_of(pcm, floor=2000):
    """The frequency of the left channel from the spacing of its rising zero crossings (placed between samples
    by interpolation); 0 when its peak stays under `floor` or it has fewer than two crossings."""
    left = left_channel(pcm)
    if not left or max(abs(s) for s in left) < floor:
        return 0.0
    crossings = [i + a / (a - b) for i, (a, b) in enumerate(zip(left, left[1:])) if a < 0 <= b]
    if len(crossings) < 2:
        return 0.0
    return (len(crossings) - 1) * RATE / (crossings[-1] - crossings[0])


def quiet_after_sound(pcm, seconds, floor=2000):
    """Whether `pcm` carries a sound (a sample reaching `floor`) followed by at least `seconds` without one."""
    left = left_channel(pcm)
    last_loud = next((i for i in range(len(left) - 1, -1, -1) if abs(left[i]) >= floor), None)
    return last_loud is not None and len(left) - 1 - last_loud >= RATE * seconds


def carries(pcm, frequency, tolerance=0.05):
    return abs(frequency_of(pcm) - frequency) <= frequency * tolerance


def tone_starts(pcm, frequency, window=0.125):
    """Offsets in seconds of the windows of `pcm` that carry the tone."""
    step = int(BYTES_PER_SECOND * window) // FRAME_BYTES * FRAME_BYTES
    return [at / BYTES_PER_SECOND for at in range(0, len(pcm) - step + 1, step)
            if carries(pcm[at:at + step], frequency)]
