#include "fake_sound_devices.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr auto kDeviceTick = std::chrono::milliseconds(2);

void FillWith(std::uint8_t (&buffer)[kCaptureBlockBytes], int value) {
    for (std::size_t at = 0; at < kCaptureBlockBytes; at += 2) {
        buffer[at] = static_cast<std::uint8_t>(value & 0xFF);
        buffer[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    }
}

} // namespace

FakeCapture::~FakeCapture() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        ending_ = true;
    }
    device_.join();
}

int FakeCapture::Open(int deviceNumber) {
    lastDeviceNumber = deviceNumber;
    if (openError != 0) {
        return openError;
    }
    std::lock_guard<std::mutex> hold(lock_);
    ++opens;
    recorded_ = 0;
    return 0;
}

void FakeCapture::Queue(int index) {
    std::lock_guard<std::mutex> hold(lock_);
    filled_[index].store(false, std::memory_order_relaxed);
    queued_[queuedCount_++] = index;
}

void FakeCapture::Start() {
    std::lock_guard<std::mutex> hold(lock_);
    recording_ = true;
}

void FakeCapture::Record() {
    for (;;) {
        std::this_thread::sleep_for(kDeviceTick);
        std::lock_guard<std::mutex> hold(lock_);
        if (ending_) {
            return;
        }
        if (recording_ && queuedCount_ > 0) {
            const int index = queued_[0];
            std::copy(queued_ + 1, queued_ + queuedCount_, queued_);
            --queuedCount_;
            FillWith(buffers_[index], opens * 1000 + recorded_++);
            filled_[index].store(true, std::memory_order_release);
        }
    }
}

void FakeCapture::WaitForBuffer(int) {
    std::this_thread::sleep_for(kDeviceTick / 2);
}

void FakeCapture::Close() {
    std::lock_guard<std::mutex> hold(lock_);
    recording_ = false;
    queuedCount_ = 0;
    for (std::atomic<bool>& filled : filled_) {
        filled = false;
    }
    ++closes;
}

FakePlayback::~FakePlayback() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        ending_ = true;
    }
    device_.join();
}

int FakePlayback::Open(BlockPlayedListener& listener) {
    if (openError != 0) {
        return openError;
    }
    std::lock_guard<std::mutex> hold(lock_);
    ++opens;
    listener_ = &listener;
    return 0;
}

void FakePlayback::Play(int, const std::uint8_t (&block)[kPlaybackBlockBytes]) {
    std::lock_guard<std::mutex> hold(lock_);
    for (int slot = 0; slot < kSlotsPerPlaybackBlock && slotsPlayed < kLogCapacity; ++slot) {
        slotLog[slotsPlayed] = SampleAt(block + slot * kCaptureBlockBytes, 0);
        ++slotsPlayed;
    }
    mostHeld = std::max(mostHeld.load(), ++held_);
}

void FakePlayback::PlayHeldBlocks() {
    for (;;) {
        std::this_thread::sleep_for(kDeviceTick);
        BlockPlayedListener* played = nullptr;
        {
            std::lock_guard<std::mutex> hold(lock_);
            if (ending_) {
                return;
            }
            if (held_ > 0) {
                --held_;
                played = listener_;
            }
        }
        if (played != nullptr) {
            played->OnBlockPlayed();
        }
    }
}

void FakePlayback::Close() {
    std::lock_guard<std::mutex> hold(lock_);
    ++closes;
    heldAtClose = held_;
    listener_ = nullptr;
}

void FakePlayback::WaitForClock() {
    ++clockWaits;
    std::this_thread::sleep_for(kDeviceTick);
}
