#include "jitter_queue.h"

#include <algorithm>

namespace zelvora::network {

bool JitterQueue::Push(std::span<const std::uint8_t> payload, Micros arrival) {
    bool kept = true;
    if (size_ == kCapacity) {
        head_ = (head_ + 1) % kCapacity;
        --size_;
        kept = false;
    }
    const std::size_t slot = (head_ + size_) % kCapacity;
    std::copy_n(payload.begin(), kPayloadBytes, slots_[slot].begin());
    arrivals_[slot] = arrival;
    ++size_;
    return kept;
}

std::span<const std::uint8_t> JitterQueue::Next(Micros now, Micros tick) {
    if (size_ == 0) {
        playing_ = false;
        return {};
    }
    if (!playing_ && (size_ >= 2 || now - arrivals_[head_] >= 2 * tick)) {
        playing_ = true;
    }
    if (!playing_) {
        return {};
    }
    const std::size_t slot = head_;
    head_ = (head_ + 1) % kCapacity;
    --size_;
    return slots_[slot];
}

void JitterQueue::Clear() {
    head_ = 0;
    size_ = 0;
    playing_ = false;
}

} // namespace zelvora::network
