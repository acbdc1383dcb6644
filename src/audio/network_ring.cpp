#include "audio/network_ring.h"

#include "session/led_colour.h"

namespace {

constexpr int kDatagramsPerTransmitStep = 3;

} // namespace

void TransmitRingStep(int& txRingCounter, int& txRingPos, NetworkRingLights& ring) {
    if (++txRingCounter < kDatagramsPerTransmitStep) {
        return;
    }
    for (std::atomic<LedColour>& light : ring) {
        light.store(kLedDarkRed, std::memory_order_relaxed);
    }
    ring[txRingPos].store(kLedGreen, std::memory_order_relaxed);
    txRingPos = txRingPos == 0 ? kNetworkRingLights - 1 : txRingPos - 1;
    txRingCounter = 0;
}

void PlaybackRingStep(int& playbackRingHead, std::atomic<int>& playbackRingPos, NetworkRingLights& ring) {
    playbackRingPos.store(playbackRingHead, std::memory_order_relaxed);
    ring[playbackRingHead].store(kLedBlue, std::memory_order_relaxed);
    playbackRingHead = (playbackRingHead + 1) % kNetworkRingLights;
    ring[playbackRingHead].store(kLedRed, std::memory_order_relaxed);
}
