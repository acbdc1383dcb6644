#include "audio/audio_thread.h"

#include "audio/audio_state.h"
#include "session/indicator_lights.h"
#include "fake_sound_devices.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
#include <thread>
#include <vector>

// Allocations made on the audio thread; the test marks that thread.
namespace {
thread_local bool tCountAllocations = false;
std::atomic<int> gAudioThreadAllocations{0};
} // namespace

void* operator new(std::size_t size) {
    if (tCountAllocations) {
        ++gAudioThreadAllocations;
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace {

// A payload loud enough to count as sound; its first sample, shifted down by 8 bits, is `tag`.
void AppendSound(PlaybackQueue& queue, std::uint8_t tag) {
    const std::uint8_t payload[2] = {0, tag};
    queue.Append(payload, sizeof payload);
}

class FakeHost final : public AudioHost {
  public:
    std::atomic<bool> talking{false};
    std::atomic<int> talkCallsLeft{-1}; // when not -1: talking ends after that many more looks
    std::atomic<int> captureFailure{0};
    std::atomic<int> playbackFailure{0};
    std::atomic<int> blocksSent{0};
    int sentLog[kLogCapacity] = {}; // the number each block carries

    bool UserTalks() override {
        if (talkCallsLeft >= 0 && talkCallsLeft-- == 0) {
            talking = false;
        }
        return talking;
    }
    int SelectedInputDevice() override { return 3; }
    void SendBlock(const std::uint8_t (&block)[kCaptureBlockBytes]) override {
        if (blocksSent < kLogCapacity) {
            sentLog[blocksSent] = SampleAt(block, 0);
            ++blocksSent;
        }
    }
    void CaptureDeviceFailed(int errorCode) override { captureFailure = errorCode; }
    void PlaybackDeviceFailed(int errorCode) override { playbackFailure = errorCode; }
};

class AudioThreadTest : public ::testing::Test {
  protected:
    void StartAudioThread(int runFlag = kAudioRunning) {
        state_->runFlag = runFlag;
        audio_ = std::thread([this] {
            tCountAllocations = true;
            RunAudioThread(*state_, *lights_, capture_, playback_, host_);
        });
    }

    void StopAudioThread() {
        state_->runFlag = kAudioStopRequested;
        audio_.join();
    }

    // Waits for something the threads will do; a generous bound keeps a broken build from hanging.
    static void WaitUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_TRUE(done());
    }

    void TalkFor(int blocks) {
        const int before = host_.blocksSent;
        host_.talking = true;
        WaitUntil([&] { return host_.blocksSent >= before + blocks; });
        EXPECT_EQ(lights_->txRx, kLedRed);
        host_.talking = false;
        const int opensBefore = playback_.opens;
        WaitUntil([&] { return playback_.opens > opensBefore; });
    }

    std::unique_ptr<AudioState> state_ = std::make_unique<AudioState>();
    std::unique_ptr<IndicatorLights> lights_ = std::make_unique<IndicatorLights>();
    FakeCapture capture_;
    FakePlayback playback_;
    FakeHost host_;
    std::thread audio_;
};

TEST_F(AudioThreadTest, EachPressSendsItsRecordingInOrderAndListeningResumesAfter) {
    gAudioThreadAllocations = 0;
    StartAudioThread();
    WaitUntil([&] { return playback_.slotsPlayed >= 8; });
    TalkFor(10);
    const int firstPress = host_.blocksSent;
    TalkFor(4);
    StopAudioThread();

    EXPECT_EQ(state_->runFlag, kAudioEnded);
    EXPECT_EQ(lights_->txRx, kLedBlue);
    EXPECT_EQ(capture_.lastDeviceNumber, 3);
    EXPECT_EQ(capture_.opens, 2); // the two presses; the stop opens nothing
    EXPECT_EQ(capture_.closes, 2);
    // Every press sends the blocks in the order recorded, from its oldest on, none skipped.
    for (int i = 0; i < host_.blocksSent; ++i) {
        const int press = i < firstPress ? 1 : 2;
        const int rank = i < firstPress ? i : i - firstPress;
        EXPECT_EQ(host_.sentLog[i], press * 1000 + rank) << i;
    }
    EXPECT_EQ(playback_.opens, 3);
    EXPECT_LE(playback_.mostHeld, kPlaybackBlocks);
    EXPECT_EQ(playback_.heldAtClose, 0);
    EXPECT_EQ(gAudioThreadAllocations, 0);
}

TEST_F(AudioThreadTest, ListeningPlaysTheQueueInArrivalOrder) {
    StartAudioThread();
    WaitUntil([&] { return playback_.slotsPlayed >= 8; });
    for (std::uint8_t value = 11; value <= 16; ++value) {
        AppendSound(state_->playbackQueue, value);
    }
    WaitUntil([&] { return state_->playbackQueue.Fill() == 4; });
    const int played = playback_.slotsPlayed + kSlotsPerPlaybackBlock;
    WaitUntil([&] { return playback_.slotsPlayed >= played; });
    StopAudioThread();

    std::vector<int> sound;
    for (int i = 0; i < playback_.slotsPlayed; ++i) {
        if (playback_.slotLog[i] != 0) {
            sound.push_back(playback_.slotLog[i] >> 8);
        }
    }
    EXPECT_EQ(sound, (std::vector<int>{11, 12, 13, 14, 15, 16}));
}

TEST_F(AudioThreadTest, LongSilenceClosesTheDeviceAndSoundReopensItBehindOneBlockOfSilence) {
    StartAudioThread();
    WaitUntil([&] { return playback_.clockWaits > 0; });
    EXPECT_EQ(playback_.closes, 1);
    EXPECT_EQ(playback_.heldAtClose, 0);
    const int silenceBeforeRest = playback_.slotsPlayed;
    EXPECT_EQ(silenceBeforeRest, 16 * kSlotsPerPlaybackBlock); // two seconds
    for (std::uint8_t value = 21; value <= 24; ++value) {
        AppendSound(state_->playbackQueue, value);
    }
    WaitUntil([&] { return playback_.slotsPlayed >= silenceBeforeRest + 2 * kSlotsPerPlaybackBlock; });
    StopAudioThread();

    EXPECT_EQ(playback_.opens, 2);
    EXPECT_FALSE(playback_.clockRunning);
    EXPECT_LE(playback_.mostHeld, kPlaybackBlocks);
    std::vector<int> sound;
    int firstSound = -1;
    for (int i = silenceBeforeRest; i < playback_.slotsPlayed; ++i) {
        if (playback_.slotLog[i] != 0) {
            firstSound = firstSound < 0 ? i : firstSound;
            sound.push_back(playback_.slotLog[i] >> 8);
        }
    }
    EXPECT_EQ(firstSound, silenceBeforeRest + kSlotsPerPlaybackBlock);
    EXPECT_EQ(sound, (std::vector<int>{21, 22, 23, 24}));
}

TEST_F(AudioThreadTest, PressTooShortForTheSwitchSendsNothing) {
    StartAudioThread();
    WaitUntil([&] { return playback_.slotsPlayed >= 4; });
    host_.talkCallsLeft = 1; // listening sees the press, talking already sees the release
    host_.talking = true;
    WaitUntil([&] { return playback_.opens == 2; });
    StopAudioThread();
    EXPECT_EQ(host_.blocksSent, 0);
    EXPECT_EQ(capture_.opens, 1);
    EXPECT_EQ(state_->runFlag, kAudioEnded);
}

TEST_F(AudioThreadTest, AStopWithoutACaptureDeviceEndsTheThreadWithoutReport) {
    capture_.openError = 2;
    StartAudioThread();
    WaitUntil([&] { return playback_.slotsPlayed >= 4; });
    StopAudioThread();
    EXPECT_EQ(host_.captureFailure, 0);
    EXPECT_EQ(capture_.opens, 0);
    EXPECT_EQ(playback_.closes, 1);
    EXPECT_EQ(state_->runFlag, kAudioEnded);
}

TEST_F(AudioThreadTest, APlaybackDeviceThatWillNotWakeFromItsRestDropsThatSoundAndTriesAgain) {
    StartAudioThread();
    WaitUntil([&] { return playback_.clockWaits > 0; });
    const int restedAt = playback_.slotsPlayed;
    playback_.openError = 4;
    AppendSound(state_->playbackQueue, 31);
    WaitUntil([&] { return state_->playbackReopenFailures == 1; });
    playback_.openError = 0;
    AppendSound(state_->playbackQueue, 32);
    WaitUntil([&] { return playback_.slotsPlayed >= restedAt + 2 * kSlotsPerPlaybackBlock; });
    StopAudioThread();

    EXPECT_EQ(host_.playbackFailure, 0);
    EXPECT_EQ(state_->playbackReopenFailures, 1);
    EXPECT_EQ(playback_.opens, 2);
    std::vector<int> sound;
    for (int i = restedAt; i < playback_.slotsPlayed; ++i) {
        if (playback_.slotLog[i] != 0) {
            sound.push_back(playback_.slotLog[i] >> 8);
        }
    }
    EXPECT_EQ(sound, std::vector<int>{32});
    EXPECT_EQ(state_->runFlag, kAudioEnded);
}

TEST_F(AudioThreadTest, DeviceThatCannotBeOpenedIsReportedAndEndsTheThread) {
    playback_.openError = 4;
    StartAudioThread();
    audio_.join();
    EXPECT_EQ(host_.playbackFailure, 4);
    EXPECT_EQ(capture_.opens, 0);

    playback_.openError = 0;
    capture_.openError = 2;
    host_.talking = true;
    StartAudioThread();
    audio_.join();
    EXPECT_EQ(host_.captureFailure, 2);
    EXPECT_EQ(host_.blocksSent, 0);
    EXPECT_EQ(state_->runFlag, kAudioRunning);
}

} // namespace

TEST_F(AudioThreadTest, AStopAskedBeforeTheThreadRunsEndsItAtOnce) {
    StartAudioThread(kAudioStopRequested);
    WaitUntil([&] { return state_->runFlag == kAudioEnded; });
    StopAudioThread();
    EXPECT_EQ(capture_.opens, 0);
}
