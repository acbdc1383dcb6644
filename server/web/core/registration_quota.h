#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace zelvora::web {

// How many PCs never seen before may be registered in each minute, from one source address and in all, so
// that a flood of made-up PC identifiers cannot use up the account numbers. Safe from any thread.
class RegistrationQuota {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kPerSource = 5;
    static constexpr int kInAll = 30;
    static constexpr std::chrono::seconds kWindow{60};

    // Counts one registration from the source; when the source or everybody has had its share of the
    // current minute, counts nothing and gives the whole seconds until the minute ends.
    std::optional<std::chrono::seconds> Admit(std::string_view source, Clock::time_point now);

  private:
    std::mutex mutex_;
    Clock::time_point windowEnd_{};
    int admitted_ = 0;
    // Only admitted sources are kept, so the map never holds more than kInAll entries.
    std::map<std::string, int, std::less<>> bySource_;
};

} // namespace zelvora::web
