#pragma once

// Sound for simulated speakers, in the relay's format: 8000 Hz, two channels, signed 16-bit little-endian,
// padded with silence to whole 1000-byte payloads and cut at a minute.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zelvora::network {

struct SoundClip {
    std::vector<std::uint8_t> pcm;
    std::string error; // set when pcm is empty
};

// A RIFF WAVE file of 8- or 16-bit PCM, mono or stereo, at any rate from 1000 to 192000 Hz. Higher rates
// are brought down by averaging, lower ones up by linear interpolation.
SoundClip ConvertWav(std::span<const std::uint8_t> file);

// A sine tone at a quarter of full scale, hz 20..3999, seconds up to 60.
SoundClip MakeTone(double hz, double seconds);

} // namespace zelvora::network
