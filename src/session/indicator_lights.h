#pragma once

#include "session/led_colour.h"

#include <atomic>

inline constexpr int kNetworkRingLights = 16;
using NetworkRingLights = std::atomic<int>[kNetworkRingLights];

// The main window's lights, each a LedColour: the threads of the links they show write them, the main
// thread's timers paint them.
struct IndicatorLights {
    std::atomic<int> tst{kLedBlue};      // voice receive
    std::atomic<int> udp{kLedBlue};      // voice sockets and receive
    std::atomic<int> svc{kLedBlue};      // supervisor
    std::atomic<int> web{kLedBlue};      // web service exchanges
    std::atomic<int> txRx{kLedBlue};     // audio thread, while talking
    std::atomic<int> tcp{kLedBlue};      // heartbeat
    NetworkRingLights ring = {};         // 0 leaves a light undrawn until start-up lights the ring
    std::atomic<int> playbackRingPos{0}; // the audio thread publishes, the receive thread marks it green
};
