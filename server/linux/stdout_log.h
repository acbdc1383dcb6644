#pragma once

#include "core/network_types.h"

namespace zelvora::network {

// Timestamped lines on standard output, flushed line by line so a supervising process sees them at once.
class StdoutLog final : public EventLog {
  public:
    StdoutLog();
    void Line(const std::string& text) override;
};

} // namespace zelvora::network
