#pragma once

#include "core/network_types.h"

#include <cstdint>

namespace zelvora::network {

// Timestamped lines on standard output, each written whole at once so a supervising process sees it at
// once. A reader that stops reading must not stall the relay: when standard output is a full pipe the line
// is dropped, and the next line that gets through says how many were lost.
class StdoutLog final : public EventLog {
  public:
    void Line(const std::string& text) override;

  private:
    std::uint64_t dropped_ = 0;
};

} // namespace zelvora::network
