#include "audio/level_update.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A block of `Bytes` whose first `frames` frames hold `left` and `right`, and `rest` in every later sample.
template <std::size_t Bytes> struct Block {
    std::uint8_t bytes[Bytes] = {};
    Block(std::int16_t left, std::int16_t right, int frames = 100, std::int16_t rest = 0) {
        const int samples = static_cast<int>(Bytes / 2);
        for (int i = 0; i < samples; ++i) {
            const bool looked = i < frames * kVoiceChannels;
            Put(i, looked ? (i % 2 == 0 ? left : right) : rest);
        }
    }
    void Put(int index, std::int16_t value) {
        bytes[2 * index] = static_cast<std::uint8_t>(value & 0xFF);
        bytes[2 * index + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    }
};
using CapturedBlock = Block<kCaptureBlockBytes>;
using PlaybackBlock = Block<kPlaybackBlockBytes>;

TEST(CaptureLevels, FullScaleMovesTheLeftNeedleHalfWayEachBlock) {
    const CapturedBlock loud(32767, 32767);
    std::vector<int> angles;
    std::int16_t smoothed = 0;
    for (int i = 0; i < 8; ++i) {
        const CaptureLevels levels = UpdateCaptureLevels(smoothed, loud.bytes);
        smoothed = levels.smoothedLeftPeak;
        angles.push_back(levels.leftNeedleAngle);
    }
    EXPECT_EQ(angles, (std::vector<int>{268, 294, 307, 313, 316, 318, 319, 319}));
}

TEST(CaptureLevels, PeaksComeFromTheFirstHundredFramesWithMinus32768AsZero) {
    struct Case {
        const char* name;
        CapturedBlock block;
        std::int16_t smoothedBefore, smoothedAfter;
        int left, right;
    } cases[] = {
        {"half scale after silence", {16384, 0}, 0, 8192, 243, 230},
        {"negative samples count by magnitude", {-16384, -32767}, 0, 8192, 243, 281},
        {"-32768 has no magnitude", {-32768, -32768}, 0, 0, 218, 218},
        {"loud after frame 100 is not looked at", {0, 0, 100, 32767}, 0, 0, 218, 218},
        {"the right needle follows the new left memory", {0, 0}, 20000, 10000, 249, 233},
        {"frame 99 is looked at", {0, 0, 99, 32767}, 0, 16383, 268, 294},
    };
    for (const Case& c : cases) {
        const CaptureLevels levels = UpdateCaptureLevels(c.smoothedBefore, c.block.bytes);
        EXPECT_EQ(levels.smoothedLeftPeak, c.smoothedAfter) << c.name;
        EXPECT_EQ(levels.leftNeedleAngle, c.left) << c.name;
        EXPECT_EQ(levels.rightNeedleAngle, c.right) << c.name;
    }
}

TEST(PlaybackLevels, LeftMemoryMovesThreeQuartersAndDrivesTheBars) {
    struct Case {
        const char* name;
        PlaybackBlock block;
        std::int16_t smoothedBefore, smoothedAfter;
        int left, right, rightBar;
    } cases[] = {
        {"full scale after silence", {32767, 0}, 0, 24574, 268, 243, 12287},
        {"right peak with a silent left", {0, 20000}, 0, 0, 218, 249, 10000},
        {"-32768 has no magnitude", {-32768, -32768}, 0, 0, 218, 218, 0},
        {"only the first hundred frames count", {0, 0, 100, 32767}, 0, 0, 218, 218, 0},
        {"silence after a loud block", {0, 0}, 24574, 6143, 256, 237, 3071},
    };
    for (const Case& c : cases) {
        const PlaybackLevels levels = UpdatePlaybackLevels(c.smoothedBefore, c.block.bytes);
        EXPECT_EQ(levels.smoothedLeftPeak, c.smoothedAfter) << c.name;
        EXPECT_EQ(levels.leftBarLevel, c.smoothedAfter) << c.name;
        EXPECT_EQ(levels.leftNeedleAngle, c.left) << c.name;
        EXPECT_EQ(levels.rightNeedleAngle, c.right) << c.name;
        EXPECT_EQ(levels.rightBarLevel, c.rightBar) << c.name;
    }
}

} // namespace
