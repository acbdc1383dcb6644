#pragma once

#include "endpoint.h"
#include "wire.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zelvora::network {

// The talker's payloads between their arrival and the tick that relays them. Arrivals are uneven, the
// relay is one payload per tick: playout starts once two payloads wait (or the first has waited two ticks)
// and pauses again when the queue runs dry. A full queue drops its oldest payload to bound the delay.
class JitterQueue {
  public:
    static constexpr std::size_t kCapacity = 8;

    // False when the oldest payload had to go to make room.
    bool Push(std::span<const std::uint8_t> payload, Micros arrival);
    // The payload to relay this tick, or an empty span while priming or dry. Valid until the next Push.
    std::span<const std::uint8_t> Next(Micros now, Micros tick);
    bool Empty() const { return size_ == 0; }
    void Clear();

  private:
    std::array<std::array<std::uint8_t, kPayloadBytes>, kCapacity> slots_{};
    std::array<Micros, kCapacity> arrivals_{};
    std::size_t head_ = 0;
    std::size_t size_ = 0;
    bool playing_ = false;
};

} // namespace zelvora::network
