#pragma once

#include "session/indicator_lights.h"

#include <atomic>

// The NETWORK ring's animations: a green light walking down a dark red ring while the user talks, a red
// light walking up the ring while the client plays.

inline constexpr int kTxRingPosAtStart = kNetworkRingLights - 1;

// One audio datagram sent: every third one, the ring turns dark red with one green light at `txRingPos`,
// which then moves one position down. `txRingCounter` counts the datagrams in between.
void TransmitRingStep(int& txRingCounter, int& txRingPos, NetworkRingLights& ring);

// One block played: the light at the head turns blue and its position is published for the receive thread
// to mark green; the head moves one position up and turns red.
void PlaybackRingStep(int& playbackRingHead, std::atomic<int>& playbackRingPos, NetworkRingLights& ring);
