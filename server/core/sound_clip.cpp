#include "sound_clip.h"

#include "control_protocol.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace zelvora::network {
namespace {

constexpr int kRelayRate = 8000;
constexpr std::size_t kFrameBytes = 4;
constexpr std::size_t kMaxFrames = kMaxSoundBytes / kFrameBytes;

SoundClip Fail(std::string why) {
    return {{}, std::move(why)};
}

std::uint32_t Le32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16)) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::uint16_t Le16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

struct Format {
    int channels = 0;
    int bits = 0;
    std::uint32_t rate = 0;
};

// Appends one stereo frame, clamped to 16 bits.
void PutFrame(std::vector<std::uint8_t>& pcm, int left, int right) {
    for (const int sample : {left, right}) {
        const auto value =
            static_cast<std::uint16_t>(static_cast<std::int16_t>(std::clamp(sample, -32768, 32767)));
        pcm.push_back(static_cast<std::uint8_t>(value & 0xFF));
        pcm.push_back(static_cast<std::uint8_t>(value >> 8));
    }
}

void PadToPayloads(std::vector<std::uint8_t>& pcm) {
    pcm.resize((pcm.size() + kPayloadBytes - 1) / kPayloadBytes * kPayloadBytes, 0);
}

// Sample c of input frame i, as a signed 16-bit value.
int Sample(std::span<const std::uint8_t> data, const Format& format, std::size_t frame, int channel) {
    const std::size_t bytesPerSample = static_cast<std::size_t>(format.bits / 8);
    const std::size_t at =
        (frame * static_cast<std::size_t>(format.channels) + static_cast<std::size_t>(channel)) *
        bytesPerSample;
    if (format.bits == 8) {
        return (data[at] - 128) * 256;
    }
    return static_cast<std::int16_t>(Le16(data, at));
}

std::vector<std::uint8_t> Resample(std::span<const std::uint8_t> data, const Format& format) {
    const std::size_t inFrames = data.size() / (static_cast<std::size_t>(format.channels * format.bits / 8));
    const double step = static_cast<double>(format.rate) / kRelayRate; // input frames per output frame
    const auto outFrames =
        std::min(kMaxFrames, static_cast<std::size_t>(static_cast<double>(inFrames) / step));
    std::vector<std::uint8_t> pcm;
    pcm.reserve(outFrames * kFrameBytes + kPayloadBytes);
    const int right = format.channels == 2 ? 1 : 0;
    for (std::size_t out = 0; out < outFrames; ++out) {
        const double position = static_cast<double>(out) * step;
        const auto first = static_cast<std::size_t>(position);
        double left = 0;
        double rightValue = 0;
        if (step > 1.0) {
            // Average the input frames within half a step either side: a crude low-pass against aliasing,
            // centred so it adds no delay.
            const auto to = std::min(inFrames - 1, static_cast<std::size_t>(position + step / 2));
            const auto from =
                std::min(to, static_cast<std::size_t>(std::max(0.0, std::ceil(position - step / 2))));
            for (std::size_t i = from; i <= to; ++i) {
                left += Sample(data, format, i, 0);
                rightValue += Sample(data, format, i, right);
            }
            const auto count = static_cast<double>(to - from + 1);
            left /= count;
            rightValue /= count;
        } else {
            const std::size_t next = std::min(first + 1, inFrames - 1);
            const double fraction = position - static_cast<double>(first);
            left = Sample(data, format, first, 0) * (1 - fraction) + Sample(data, format, next, 0) * fraction;
            rightValue = Sample(data, format, first, right) * (1 - fraction) +
                         Sample(data, format, next, right) * fraction;
        }
        PutFrame(pcm, static_cast<int>(std::lround(left)), static_cast<int>(std::lround(rightValue)));
    }
    PadToPayloads(pcm);
    return pcm;
}

} // namespace

SoundClip ConvertWav(std::span<const std::uint8_t> file) {
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 ||
        std::memcmp(file.data() + 8, "WAVE", 4) != 0) {
        return Fail("not a RIFF WAVE file");
    }
    Format format;
    std::span<const std::uint8_t> data;
    bool haveFormat = false;
    bool haveData = false;
    std::size_t at = 12;
    while (at + 8 <= file.size() && !haveData) {
        const std::uint32_t size = Le32(file, at + 4);
        const std::size_t body = at + 8;
        const std::size_t available = std::min<std::size_t>(size, file.size() - body);
        if (std::memcmp(file.data() + at, "fmt ", 4) == 0) {
            if (available < 16) {
                return Fail("format chunk too short");
            }
            std::uint16_t tag = Le16(file, body);
            if (tag == 0xFFFE && available >= 26) {
                tag = Le16(file, body + 24); // WAVE_FORMAT_EXTENSIBLE: the sub-format's first two bytes
            }
            if (tag != 1) {
                return Fail("only PCM WAVE files are supported");
            }
            format.channels = Le16(file, body + 2);
            format.rate = Le32(file, body + 4);
            format.bits = Le16(file, body + 14);
            haveFormat = true;
        } else if (std::memcmp(file.data() + at, "data", 4) == 0) {
            data = file.subspan(body, available); // a truncated file keeps what it has
            haveData = true;
        }
        at = body + available + (available & 1);
    }
    if (!haveFormat) {
        return Fail("no format chunk");
    }
    if (format.channels != 1 && format.channels != 2) {
        return Fail("only mono or stereo WAVE files are supported");
    }
    if (format.bits != 8 && format.bits != 16) {
        return Fail("only 8- or 16-bit WAVE files are supported");
    }
    if (format.rate < 1000 || format.rate > 192000) {
        return Fail("sample rate must be 1000 to 192000 Hz");
    }
    if (!haveData || data.size() < static_cast<std::size_t>(format.channels * format.bits / 8)) {
        return Fail("no sound in the file");
    }
    SoundClip clip;
    clip.pcm = Resample(data, format);
    if (clip.pcm.empty()) {
        clip.error = "sound too short";
    }
    return clip;
}

SoundClip MakeTone(double hz, double seconds) {
    if (!(hz >= 20 && hz < kRelayRate / 2.0)) {
        return Fail("tone must be 20 to 3999 Hz");
    }
    if (!(seconds > 0 && seconds <= 60)) {
        return Fail("tone length must be more than 0 and at most 60 seconds");
    }
    const auto frames = std::min(kMaxFrames, static_cast<std::size_t>(std::lround(seconds * kRelayRate)));
    SoundClip clip;
    clip.pcm.reserve(frames * kFrameBytes + kPayloadBytes);
    for (std::size_t i = 0; i < frames; ++i) {
        const double phase = 2 * std::numbers::pi * hz * static_cast<double>(i) / kRelayRate;
        const auto sample = static_cast<int>(std::lround(8192 * std::sin(phase)));
        PutFrame(clip.pcm, sample, sample);
    }
    PadToPayloads(clip.pcm);
    if (clip.pcm.empty()) {
        clip.error = "tone too short";
    }
    return clip;
}

} // namespace zelvora::network
