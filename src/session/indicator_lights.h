#pragma once

#include "session/led_colour.h"

#include <atomic>

inline constexpr int kNetworkRingLights = 16;
using NetworkRingLights = std::atomic<LedColour>[kNetworkRingLights];

// The main window's lights: the threads of the links they show write them, the main thread's timers paint
// them.
struct IndicatorLights {
    std::atomic<LedColour> tst{kLedBlue};  // voice receive
    std::atomic<LedColour> udp{kLedBlue};  // voice sockets and receive
    std::atomic<LedColour> svc{kLedBlue};  // supervisor
    std::atomic<LedColour> web{kLedBlue};  // web service exchanges
    std::atomic<LedColour> txRx{kLedBlue}; // audio thread, while talking
    std::atomic<LedColour> tcp{kLedBlue};  // heartbeat
    NetworkRingLights ring = {};           // 0 leaves a light undrawn until start-up lights the ring
    std::atomic<int> playbackRingPos{0};   // the audio thread publishes, the receive thread marks it green
};
