#include "app/title_animation_timing.h"

namespace {
constexpr int kDefaultFrameDelayMs = 100;
constexpr unsigned kShortestPeriodMs = 10;
} // namespace

int FrameDelayMs(const std::int32_t* delaysHundredths, std::size_t count, std::size_t frame) {
    if (delaysHundredths == nullptr || count == 0) {
        return kDefaultFrameDelayMs;
    }
    return static_cast<int>(delaysHundredths[frame < count ? frame : 0]) * 10;
}

unsigned AnimationTimerPeriodMs(int firstFrameDelayMs) {
    return firstFrameDelayMs < static_cast<int>(kShortestPeriodMs) ? kShortestPeriodMs
                                                                   : static_cast<unsigned>(firstFrameDelayMs);
}
