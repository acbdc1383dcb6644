#include "audio/playback_queue.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kLastSlot = kQueueSlots - 1;
// Slots 11 to 14 are what the slide leaves behind; slot 15 keeps a stale copy that is never played.
constexpr int kFirstClearedSlot = kQueueSlots - kSlotsPerPlaybackBlock - 1;
constexpr int kSamplesPerSlot = static_cast<int>(kCaptureBlockBytes / 2);

bool IsSilent(const std::uint8_t* slot) {
    for (int i = 0; i < kSamplesPerSlot; ++i) {
        const int sample = SampleAt(slot, i);
        if (sample > PlaybackQueue::kNearZero || sample < -PlaybackQueue::kNearZero) {
            return false;
        }
    }
    return true;
}

} // namespace

void PlaybackQueue::Reset() {
    std::lock_guard<std::mutex> hold(lock_);
    std::memset(slots_, 0, sizeof slots_);
    fill_ = kFillAtStart;
}

void PlaybackQueue::Append(const std::uint8_t* bytes, std::size_t count) {
    const std::size_t kept = std::min(count, kCaptureBlockBytes);
    std::lock_guard<std::mutex> hold(lock_);
    std::uint8_t* slot = slots_[fill_];
    if (kept > 0) {
        std::memcpy(slot, bytes, kept);
    }
    std::memset(slot + kept, 0, kCaptureBlockBytes - kept);
    fill_ = std::min(fill_ + 1, kLastSlot);
}

void PlaybackQueue::TakeNextBlock(std::uint8_t (&block)[kPlaybackBlockBytes]) {
    std::lock_guard<std::mutex> hold(lock_);
    std::memmove(slots_[0], slots_[kSlotsPerPlaybackBlock],
                 (kQueueSlots - kSlotsPerPlaybackBlock) * kCaptureBlockBytes);
    std::memset(slots_[kFirstClearedSlot], 0, kSlotsPerPlaybackBlock * kCaptureBlockBytes);
    fill_ = std::max(fill_ - kSlotsPerPlaybackBlock, kSlotsPerPlaybackBlock);
    std::memcpy(block, slots_[0], kPlaybackBlockBytes);
    DropSilenceBeyondTarget();
}

void PlaybackQueue::DropSilenceBeyondTarget() {
    int slot = kSlotsPerPlaybackBlock;
    while (fill_ > kTargetFill && slot < fill_) {
        if (!IsSilent(slots_[slot])) {
            ++slot;
            continue;
        }
        // Later payloads move up one slot; the one they leave is empty, like every slot past the fill.
        const int last = fill_ - 1;
        std::memmove(slots_[slot], slots_[slot + 1],
                     static_cast<std::size_t>(last - slot) * kCaptureBlockBytes);
        std::memset(slots_[last], 0, kCaptureBlockBytes);
        fill_ = last;
    }
}

int PlaybackQueue::Fill() {
    std::lock_guard<std::mutex> hold(lock_);
    return fill_;
}
