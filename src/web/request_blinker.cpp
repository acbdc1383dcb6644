#include "web/request_blinker.h"

#include "session/led_colour.h"

namespace {
constexpr int kGreenRequests = 4;
constexpr int kCycleRequests = 8;
} // namespace

int RequestBlinker::Next() {
    const int colour = count_ < kGreenRequests ? kLedGreen : kLedBlue;
    count_ = (count_ + 1) % kCycleRequests;
    return colour;
}
