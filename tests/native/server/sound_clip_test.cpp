#include "core/sound_clip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

namespace zelvora::network {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& bytes, unsigned value) {
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void Put32(Bytes& bytes, std::uint32_t value) {
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

void PutTag(Bytes& bytes, const char* tag) {
    bytes.insert(bytes.end(), tag, tag + 4);
}

struct WavFormat {
    unsigned formatTag = 1;
    unsigned channels = 1;
    std::uint32_t rate = 8000;
    unsigned bits = 16;
};

// A WAVE file with a "LIST" chunk of odd size before the data, as editors write them.
Bytes Wav(const WavFormat& format, const Bytes& data) {
    Bytes bytes;
    PutTag(bytes, "RIFF");
    Put32(bytes, 0);
    PutTag(bytes, "WAVE");
    PutTag(bytes, "fmt ");
    Put32(bytes, 16);
    Put16(bytes, format.formatTag);
    Put16(bytes, format.channels);
    Put32(bytes, format.rate);
    Put32(bytes, format.rate * format.channels * format.bits / 8);
    Put16(bytes, format.channels * format.bits / 8);
    Put16(bytes, format.bits);
    PutTag(bytes, "LIST");
    Put32(bytes, 3);
    bytes.insert(bytes.end(), {'a', 'b', 'c', 0});
    PutTag(bytes, "data");
    Put32(bytes, static_cast<std::uint32_t>(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

// 16-bit samples, frames of `channels` values.
Bytes Samples16(const std::vector<int>& samples) {
    Bytes bytes;
    for (const int sample : samples) {
        Put16(bytes, static_cast<std::uint16_t>(static_cast<std::int16_t>(sample)));
    }
    return bytes;
}

std::vector<int> Frames(const Bytes& pcm) {
    std::vector<int> samples;
    for (std::size_t at = 0; at + 1 < pcm.size(); at += 2) {
        samples.push_back(static_cast<std::int16_t>(pcm[at] | (pcm[at + 1] << 8)));
    }
    return samples;
}

TEST(WavConversion, MonoIsDuplicatedAndPaddedToWholePayloads) {
    const SoundClip clip = ConvertWav(Wav({}, Samples16({1000, -2000, 32767})));
    ASSERT_TRUE(clip.error.empty()) << clip.error;
    ASSERT_EQ(clip.pcm.size(), 1000u);
    const auto samples = Frames(clip.pcm);
    EXPECT_EQ(std::vector<int>(samples.begin(), samples.begin() + 7),
              (std::vector<int>{1000, 1000, -2000, -2000, 32767, 32767, 0}));
}

TEST(WavConversion, EightBitIsUnsignedAroundMiddle) {
    WavFormat format;
    format.bits = 8;
    format.channels = 2;
    const SoundClip clip = ConvertWav(Wav(format, {128, 255, 0, 129}));
    ASSERT_TRUE(clip.error.empty()) << clip.error;
    const auto samples = Frames(clip.pcm);
    EXPECT_EQ(std::vector<int>(samples.begin(), samples.begin() + 4),
              (std::vector<int>{0, 127 * 256, -32768, 256}));
}

TEST(WavConversion, RatesAreConvertedToEightKilohertz) {
    struct Case {
        std::uint32_t rate;
        std::size_t inputFrames;
        std::size_t outputFrames;
    };
    for (const Case test : {Case{16000, 16000, 8000}, Case{44100, 44100, 8000}, Case{4000, 4000, 8000},
                            Case{11025, 1103, 800}}) {
        SCOPED_TRACE(test.rate);
        WavFormat format;
        format.rate = test.rate;
        format.channels = 2;
        // A 200 Hz tone: well below every rate's limit, so it must survive the conversion.
        std::vector<int> samples;
        for (std::size_t i = 0; i < test.inputFrames; ++i) {
            const int value = static_cast<int>(
                10000 * std::sin(2 * std::numbers::pi * 200 * static_cast<double>(i) / test.rate));
            samples.push_back(value);
            samples.push_back(-value);
        }
        const SoundClip clip = ConvertWav(Wav(format, Samples16(samples)));
        ASSERT_TRUE(clip.error.empty()) << clip.error;
        EXPECT_EQ(clip.pcm.size(), (test.outputFrames * 4 + 999) / 1000 * 1000);
        const auto out = Frames(clip.pcm);
        for (std::size_t frame = 0; frame + 1 < test.outputFrames; frame += 97) {
            const double expected =
                10000 * std::sin(2 * std::numbers::pi * 200 * static_cast<double>(frame) / 8000);
            EXPECT_NEAR(out[2 * frame], expected, 600) << "frame " << frame;
            EXPECT_EQ(out[2 * frame + 1], -out[2 * frame]) << "frame " << frame;
        }
    }
}

TEST(WavConversion, LongFilesAreCutAtAMinute) {
    const Bytes data(2 * 8000 * 70, 0); // 70 s of 8000 Hz mono
    const SoundClip clip = ConvertWav(Wav({}, data));
    EXPECT_EQ(clip.pcm.size(), 1'920'000u);
}

TEST(WavConversion, RejectsWhatItCannotPlay) {
    const Bytes someSound = Samples16({1, 2, 3, 4});
    Bytes notRiff = Wav({}, someSound);
    notRiff[0] = 'X';
    Bytes noData = Wav({}, someSound);
    std::memcpy(noData.data() + 48, "junk", 4);
    const Bytes whole = Wav({}, someSound);
    const Bytes formatOnly(whole.begin(), whole.begin() + 36);
    Bytes shortFormat = Wav({}, someSound);
    shortFormat[16] = 8; // format chunk claims 8 bytes
    struct Case {
        const char* name;
        Bytes file;
    };
    const Case cases[] = {
        {"empty", {}},
        {"not RIFF", notRiff},
        {"compressed", Wav({.formatTag = 2}, someSound)},
        {"float", Wav({.formatTag = 3, .bits = 32}, someSound)},
        {"24-bit", Wav({.bits = 24}, Bytes(12, 0))},
        {"three channels", Wav({.channels = 3}, someSound)},
        {"no channels", Wav({.channels = 0}, someSound)},
        {"rate 0", Wav({.rate = 0}, someSound)},
        {"rate 500 kHz", Wav({.rate = 500000}, someSound)},
        {"no data chunk", noData},
        {"truncated before data", formatOnly},
        {"format chunk too short", shortFormat},
        {"data shorter than a frame", Wav({}, Bytes{1})},
        {"fewer frames than one output frame", Wav({.rate = 96000}, Samples16({1, 2, 3}))},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const SoundClip clip = ConvertWav(test.file);
        EXPECT_TRUE(clip.pcm.empty());
        EXPECT_FALSE(clip.error.empty());
    }
}

TEST(WavConversion, ATruncatedDataChunkKeepsWhatArrived) {
    Bytes file = Wav({}, Samples16(std::vector<int>(400, 100)));
    file.resize(file.size() - 400); // the data chunk still claims 800 bytes
    const SoundClip clip = ConvertWav(file);
    ASSERT_EQ(clip.pcm.size(), 1000u);
    EXPECT_EQ(Frames(clip.pcm)[2 * 199], 100);
    EXPECT_EQ(Frames(clip.pcm)[2 * 200], 0);
}

TEST(Tone, LengthLevelAndLimits) {
    const SoundClip clip = MakeTone(1000, 0.5);
    ASSERT_EQ(clip.pcm.size(), 16000u);
    const auto samples = Frames(clip.pcm);
    EXPECT_EQ(samples[2 * 2], 8192) << "a quarter period in at 1000 Hz";
    EXPECT_EQ(samples[2 * 2 + 1], 8192);
    EXPECT_TRUE(MakeTone(440, 0.01).error.empty());
    EXPECT_EQ(MakeTone(440, 0.01).pcm.size(), 1000u);
    const std::pair<double, double> invalid[] = {{10, 1},   {4000, 1}, {440, 0},
                                                 {440, 61}, {NAN, 1},  {440, NAN}};
    for (const auto& [hz, seconds] : invalid) {
        EXPECT_TRUE(MakeTone(hz, seconds).pcm.empty()) << hz << " Hz " << seconds << " s";
    }
}

} // namespace
} // namespace zelvora::network
