#include "audio/playback_queue.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A payload whose every sample is `value`.
struct Payload {
    std::uint8_t bytes[kCaptureBlockBytes];
    explicit Payload(std::int16_t value) {
        for (std::size_t at = 0; at < sizeof bytes; at += 2) {
            bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
            bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
        }
    }
};

// The first sample of each of the block's four slots.
std::vector<int> SlotsOf(const std::uint8_t (&block)[kPlaybackBlockBytes]) {
    std::vector<int> values;
    for (int slot = 0; slot < kSlotsPerPlaybackBlock; ++slot) {
        values.push_back(SampleAt(block + slot * kCaptureBlockBytes, 0));
    }
    return values;
}

TEST(PlaybackQueue, FirstBlockStartsWithOneSlotOfSilenceThenWhatArrived) {
    PlaybackQueue queue;
    queue.Append(Payload(1).bytes, kCaptureBlockBytes);
    queue.Append(Payload(2).bytes, kCaptureBlockBytes);
    std::uint8_t block[kPlaybackBlockBytes];
    queue.TakeNextBlock(block);
    EXPECT_EQ(SlotsOf(block), (std::vector<int>{0, 1, 2, 0}));
    EXPECT_EQ(queue.Fill(), 4);
    // Nothing more arrives: silence, and the fill index rests at 4.
    queue.TakeNextBlock(block);
    EXPECT_EQ(SlotsOf(block), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(queue.Fill(), 4);
}

TEST(PlaybackQueue, TwentyPayloadsBetweenTwoBlocksKeepElevenAndLoseTheRest) {
    PlaybackQueue queue;
    std::uint8_t block[kPlaybackBlockBytes];
    queue.TakeNextBlock(block);
    for (int i = 1; i <= 20; ++i) {
        queue.Append(Payload(static_cast<std::int16_t>(i)).bytes, kCaptureBlockBytes);
    }
    EXPECT_EQ(queue.Fill(), 15);
    queue.TakeNextBlock(block);
    EXPECT_EQ(SlotsOf(block), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(queue.Fill(), 11);
    queue.TakeNextBlock(block);
    EXPECT_EQ(SlotsOf(block), (std::vector<int>{5, 6, 7, 8}));
    queue.TakeNextBlock(block);
    EXPECT_EQ(SlotsOf(block), (std::vector<int>{9, 10, 11, 0}));
    EXPECT_EQ(queue.Fill(), 4);
}

TEST(PlaybackQueue, ShortPayloadPlaysAsWhatArrivedThenSilence) {
    PlaybackQueue queue;
    queue.Append(Payload(9).bytes, 4);
    std::uint8_t block[kPlaybackBlockBytes];
    queue.TakeNextBlock(block);
    const std::uint8_t* slot5 = block + kCaptureBlockBytes;
    EXPECT_EQ(SampleAt(slot5, 1), 9);
    EXPECT_EQ(SampleAt(slot5, 2), 0);
    EXPECT_EQ(SampleAt(slot5, 499), 0);
    EXPECT_EQ(queue.Fill(), 4);
}

} // namespace
