#include "presence_quality.h"

#include <algorithm>
#include <cstdlib>

namespace zelvora::network {
namespace {

constexpr Micros kWindow = 1'000'000;
constexpr Micros kStalled = 250'000;
constexpr Micros kLossGap = 100'000;
constexpr std::size_t kMinIntervals = 4;
constexpr Micros kJitterLimits[] = {2'000, 4'000, 7'000, 12'000};

} // namespace

void PresenceQuality::Record(Micros arrival) {
    arrivals_[recorded_ % kHistory] = arrival;
    ++recorded_;
}

int PresenceQuality::ErrorLevel(Micros now) const {
    if (recorded_ == 0) {
        return 4;
    }
    const std::size_t available = std::min(recorded_, kHistory);
    const Micros newest = arrivals_[(recorded_ - 1) % kHistory];
    const Micros sinceLast = now - newest;
    if (sinceLast >= kStalled) {
        return 4;
    }

    Micros maxGap = sinceLast;
    Micros jitterSum = 0;
    std::size_t intervals = 0;
    Micros previousInterval = -1;
    for (std::size_t back = 1; back < available; ++back) {
        const Micros later = arrivals_[(recorded_ - back) % kHistory];
        const Micros earlier = arrivals_[(recorded_ - back - 1) % kHistory];
        if (now - earlier > kWindow) {
            break;
        }
        const Micros interval = later - earlier;
        maxGap = std::max(maxGap, interval);
        if (previousInterval >= 0) {
            jitterSum += std::llabs(interval - previousInterval);
        }
        previousInterval = interval;
        ++intervals;
    }
    if (intervals < kMinIntervals) {
        return 4;
    }

    const Micros jitter = jitterSum / static_cast<Micros>(intervals - 1);
    int level = 0;
    while (level < 4 && jitter >= kJitterLimits[level]) {
        ++level;
    }
    if (maxGap >= kLossGap) {
        level = std::max(level, 3);
    }
    return level;
}

} // namespace zelvora::network
