#include "web/request_blinker.h"

namespace {
constexpr int kGreenRequests = 4;
constexpr int kCycleRequests = 8;
} // namespace

LedColour RequestBlinker::Next() {
    const LedColour colour = count_ < kGreenRequests ? kLedGreen : kLedBlue;
    count_ = (count_ + 1) % kCycleRequests;
    return colour;
}
