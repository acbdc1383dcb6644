#pragma once

#include "endpoint.h"

#include <array>
#include <cstddef>

namespace zelvora::network {

// Judges one client's link from the arrival times of its presence datagrams and turns that into the
// error level 0..4 carried in byte 5 of everything relayed to it.
//
// The rule, over the presence datagrams of the last second:
// - jitter = mean absolute difference between consecutive arrival intervals. Successive differences, not
//   deviation from the mean, because the client changes its pace (10..30 ms) with the level we send, and a
//   single step in pace must not read as jitter or the level would chase its own tail;
// - level 0 below 2 ms of jitter, 1 below 4 ms, 2 below 7 ms, 3 below 12 ms, 4 above;
// - a gap of 100 ms or more between two datagrams (several lost in a row) raises the level to at least 3;
// - fewer than 4 intervals in the window, or 250 ms since the last datagram, gives 4.
class PresenceQuality {
  public:
    void Record(Micros arrival);
    int ErrorLevel(Micros now) const;

  private:
    // A second of presence at the fastest pace (10 ms) with room to spare.
    static constexpr std::size_t kHistory = 128;
    std::array<Micros, kHistory> arrivals_{};
    std::size_t recorded_ = 0;
};

} // namespace zelvora::network
