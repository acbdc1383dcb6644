#include "jitter_queue.h"

#include <algorithm>

namespace zelvora::network {

bool JitterQueue::Push(std::span<const std::uint8_t> payload, Micros arrival) {
    bool kept = true;
    if (size_ == kCapacity) {
        DropOldest(1);
        kept = false;
    }
    const std::size_t slot = (head_ + size_) % kCapacity;
    std::copy_n(payload.begin(), kPayloadBytes, slots_[slot].begin());
    arrivals_[slot] = arrival;
    ++size_;
    return kept;
}

void JitterQueue::DropOldest(std::size_t count) {
    head_ = (head_ + count) % kCapacity;
    size_ -= count;
}

std::span<const std::uint8_t> JitterQueue::Next(Micros now, Micros tick, std::uint64_t& trimmed) {
    if (size_ == 0) {
        playing_ = false;
    }
    if (!playing_ && size_ > 0 && (size_ >= 2 || now - arrivals_[head_] >= 2 * tick)) {
        playing_ = true;
    }
    shallowest_ = std::min(shallowest_, size_);
    if (++windowTicks_ == kTrimWindowTicks) {
        if (shallowest_ > kStandingDepth) {
            trimmed += shallowest_ - kStandingDepth;
            DropOldest(shallowest_ - kStandingDepth);
        }
        shallowest_ = kCapacity;
        windowTicks_ = 0;
    }
    if (!playing_) {
        return {};
    }
    const std::size_t slot = head_;
    DropOldest(1);
    return slots_[slot];
}

void JitterQueue::Clear() {
    head_ = 0;
    size_ = 0;
    playing_ = false;
    shallowest_ = kCapacity;
    windowTicks_ = 0;
}

} // namespace zelvora::network
