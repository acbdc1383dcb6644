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
// and pauses again when the queue runs dry.
//
// A burst leaves the queue deeper, and with arrivals and ticks at the same pace it would stay that deep,
// keeping the extra delay for the rest of the talk. So when a whole second of ticks found more than two
// payloads waiting, the oldest ones are dropped down to two. A full queue also drops its oldest payload.
class JitterQueue {
  public:
    static constexpr std::size_t kCapacity = 16;

    // False when the oldest payload had to go to make room.
    bool Push(std::span<const std::uint8_t> payload, Micros arrival);
    // The payload to relay this tick, or an empty span while priming or dry. Valid until the next Push.
    // trimmed counts the payloads dropped to bring a standing delay down.
    std::span<const std::uint8_t> Next(Micros now, Micros tick, std::uint64_t& trimmed);
    bool Empty() const { return size_ == 0; }
    void Clear();

  private:
    static constexpr std::size_t kTrimWindowTicks = 32;
    static constexpr std::size_t kStandingDepth = 2;

    void DropOldest(std::size_t count);

    std::array<std::array<std::uint8_t, kPayloadBytes>, kCapacity> slots_{};
    std::array<Micros, kCapacity> arrivals_{};
    std::size_t head_ = 0;
    std::size_t size_ = 0;
    bool playing_ = false;
    // The shallowest the queue was at a tick during the current window.
    std::size_t shallowest_ = kCapacity;
    std::size_t windowTicks_ = 0;
};

} // namespace zelvora::network
