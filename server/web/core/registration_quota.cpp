#include "registration_quota.h"

namespace zelvora::web {

std::optional<std::chrono::seconds> RegistrationQuota::Admit(std::string_view source, Clock::time_point now) {
    std::lock_guard lock(mutex_);
    if (now >= windowEnd_) {
        windowEnd_ = now + kWindow;
        admitted_ = 0;
        bySource_.clear();
    }
    const auto known = bySource_.find(source);
    if (admitted_ >= kInAll || (known != bySource_.end() && known->second >= kPerSource)) {
        return std::chrono::ceil<std::chrono::seconds>(windowEnd_ - now);
    }
    ++admitted_;
    if (known == bySource_.end()) {
        bySource_.emplace(source, 1);
    } else {
        ++known->second;
    }
    return std::nullopt;
}

} // namespace zelvora::web
