#include "audio/playback_queue.h"

#include <gtest/gtest.h>

#include <cstring>
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
        queue.Append(Payload(static_cast<std::int16_t>(1000 * i)).bytes, kCaptureBlockBytes);
    }
    EXPECT_EQ(queue.Fill(), 15);
    queue.TakeNextBlock(block);
    EXPECT_EQ(SlotsOf(block), (std::vector<int>{1000, 2000, 3000, 4000}));
    EXPECT_EQ(queue.Fill(), 11);
    queue.TakeNextBlock(block);
    EXPECT_EQ(SlotsOf(block), (std::vector<int>{5000, 6000, 7000, 8000}));
    queue.TakeNextBlock(block);
    EXPECT_EQ(SlotsOf(block), (std::vector<int>{9000, 10000, 11000, 0}));
    EXPECT_EQ(queue.Fill(), 4);
}

// The device started 344 ms late: eleven payloads of the relay's silence wait before the first block.
void StartLate(PlaybackQueue& queue, const Payload& silence) {
    for (int i = 0; i < 11; ++i) {
        queue.Append(silence.bytes, kCaptureBlockBytes);
    }
}

TEST(PlaybackQueue, LateStartDrainsToTheTargetDuringSilenceThenSpeechWaitsOneSlot) {
    // The relay's silence, and a microphone's hiss just within what counts as silence.
    for (const Payload& silence :
         {Payload(0), Payload(PlaybackQueue::kNearZero), Payload(-PlaybackQueue::kNearZero)}) {
        PlaybackQueue queue;
        StartLate(queue, silence);
        std::uint8_t block[kPlaybackBlockBytes];
        queue.TakeNextBlock(block);
        EXPECT_EQ(queue.Fill(), PlaybackQueue::kTargetFill);
        // The steady stream: four payloads per block played.
        for (int pass = 0; pass < 3; ++pass) {
            for (int i = 0; i < kSlotsPerPlaybackBlock; ++i) {
                queue.Append(silence.bytes, kCaptureBlockBytes);
            }
            queue.TakeNextBlock(block);
            EXPECT_EQ(queue.Fill(), PlaybackQueue::kTargetFill);
        }
        for (int i = 1; i <= kSlotsPerPlaybackBlock; ++i) {
            queue.Append(Payload(static_cast<std::int16_t>(1000 * i)).bytes, kCaptureBlockBytes);
        }
        queue.TakeNextBlock(block);
        EXPECT_EQ(SlotsOf(block)[1], 1000);
    }
}

TEST(PlaybackQueue, QuietSoundIsNotSilence) {
    PlaybackQueue queue;
    StartLate(queue, Payload(PlaybackQueue::kNearZero + 1));
    std::uint8_t block[kPlaybackBlockBytes];
    queue.TakeNextBlock(block);
    EXPECT_EQ(queue.Fill(), 11);
}

TEST(PlaybackQueue, SpeechBehindABacklogIsPlayedWholeAndInOrder) {
    // A late start with speech among the silence: 1 to 4 are speech, 0 silence.
    PlaybackQueue queue;
    for (int value : {1, 0, 2, 0, 0, 3, 0, 0, 0, 4, 0}) {
        queue.Append(Payload(static_cast<std::int16_t>(1000 * value)).bytes, kCaptureBlockBytes);
    }
    std::vector<int> speech;
    std::uint8_t block[kPlaybackBlockBytes];
    for (int pass = 0; pass < 4; ++pass) {
        queue.TakeNextBlock(block);
        for (int slot = 0; slot < kSlotsPerPlaybackBlock; ++slot) {
            const std::uint8_t* played = block + slot * kCaptureBlockBytes;
            const int value = SampleAt(played, 0);
            if (value != 0) {
                EXPECT_EQ(
                    std::memcmp(played, Payload(static_cast<std::int16_t>(value)).bytes, kCaptureBlockBytes),
                    0);
                speech.push_back(value);
            }
        }
    }
    EXPECT_EQ(speech, (std::vector<int>{1000, 2000, 3000, 4000}));
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
