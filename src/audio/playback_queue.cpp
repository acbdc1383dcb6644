#include "audio/playback_queue.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kLastSlot = kQueueSlots - 1;
// Slots 11 to 14 are what the slide leaves behind; slot 15 keeps a stale copy that is never played.
constexpr int kFirstClearedSlot = kQueueSlots - kSlotsPerPlaybackBlock - 1;

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
}

int PlaybackQueue::Fill() {
    std::lock_guard<std::mutex> hold(lock_);
    return fill_;
}
