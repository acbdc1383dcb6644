#pragma once

#include "network_types.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace zelvora::network {

// Keeps the log readable under a flood of hostile datagrams: of each kind of line (its first word: greeting,
// join, leave, ...) at most a few per interval are written; the others are counted, and one line per kind
// says how many were left out once the interval is over.
class ThrottledLog final : public EventLog {
  public:
    static constexpr Micros kInterval = 1'000'000;
    static constexpr std::uint64_t kLinesPerInterval = 20;

    ThrottledLog(EventLog& out, std::function<Micros()> clock) : out_(out), clock_(std::move(clock)) {}

    void Line(const std::string& text) override;
    // Writes the summaries of an interval that has ended; call it regularly, so they come out after a flood.
    void Summarise();

  private:
    struct Tally {
        std::uint64_t written = 0;
        std::uint64_t left = 0;
    };

    EventLog& out_;
    std::function<Micros()> clock_;
    Micros intervalStart_ = 0;
    // Keyed by the first word of the network's own texts: a handful of kinds, never anything received.
    std::map<std::string, Tally> tallies_;
};

} // namespace zelvora::network
