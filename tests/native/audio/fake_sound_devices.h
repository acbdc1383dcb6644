#pragma once

#include "audio/audio_thread.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// Sound devices that run on threads of their own, as the system's do. The threads live as long as the
// fakes and the logs are fixed arrays, so nothing the audio thread calls allocates.
inline constexpr int kLogCapacity = 4096;

// Records into its buffers in the order they were queued; each block carries a number, 1000 x the device's
// opening count plus its rank within that opening, in every sample.
class FakeCapture final : public CaptureDevice {
  public:
    std::atomic<int> openError{0};
    std::atomic<int> opens{0};
    std::atomic<int> closes{0};
    std::atomic<int> lastDeviceNumber{0};

    FakeCapture() : device_([this] { Record(); }) {}
    ~FakeCapture();
    int Open(int deviceNumber) override;
    void Queue(int index) override;
    void Start() override;
    bool IsFilled(int index) override { return filled_[index].load(std::memory_order_acquire); }
    const CaptureBlock& Buffer(int index) override { return buffers_[index]; }
    void WaitForBuffer(int ms) override;
    void Close() override;

  private:
    void Record();

    std::mutex lock_;
    int queued_[kCaptureBuffers] = {}; // in the order the device fills them
    int queuedCount_ = 0;
    bool recording_ = false;
    bool ending_ = false;
    int recorded_ = 0;
    std::atomic<bool> filled_[kCaptureBuffers] = {};
    std::uint8_t buffers_[kCaptureBuffers][kCaptureBlockBytes] = {};
    std::thread device_;
};

// Plays each block a moment after it was written and then tells the audio thread, from its own thread. Logs
// the first sample of every slot of every block played.
class FakePlayback final : public PlaybackDevice {
  public:
    std::atomic<int> openError{0};
    std::atomic<int> opens{0};
    std::atomic<int> closes{0};
    std::atomic<int> clockWaits{0};
    std::atomic<bool> clockRunning{false};
    std::atomic<int> mostHeld{0};
    std::atomic<int> heldAtClose{0};
    std::atomic<int> slotsPlayed{0};
    std::int16_t slotLog[kLogCapacity] = {};

    FakePlayback() : device_([this] { PlayHeldBlocks(); }) {}
    ~FakePlayback();
    int Open(BlockPlayedListener& listener) override;
    void Play(int index, const std::uint8_t (&block)[kPlaybackBlockBytes]) override;
    void Close() override;
    void StartClock() override { clockRunning = true; }
    void WaitForClock() override;
    void StopClock() override { clockRunning = false; }

  private:
    void PlayHeldBlocks();

    std::mutex lock_;
    int held_ = 0;
    BlockPlayedListener* listener_ = nullptr;
    bool ending_ = false;
    std::thread device_;
};
