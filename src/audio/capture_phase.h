#pragma once

#include "audio/audio_thread.h"
#include "audio/network_ring.h"

// The talking phase: the capture device records into three buffers, and each buffer it fills goes to the
// voice server in the order the device fills them, 0, 1, 2, 0, ...
class TalkingPhase {
  public:
    TalkingPhase(AudioThreadState& state, CaptureDevice& capture, AudioHost& host)
        : audio_(state.audio), lights_(state.lights), smoothedLeftPeak_(state.smoothedLeftPeak),
          capture_(capture), host_(host) {}

    // Opens the chosen input device and starts recording; false when it cannot be opened (already reported).
    bool Open();
    // Sends every block recorded while the user talks and no stop is requested.
    void Run();
    // Stops recording and drops whatever is left.
    void Close();

  private:
    void ShowSent(const std::uint8_t (&block)[kCaptureBlockBytes]);

    AudioState& audio_;
    IndicatorLights& lights_;
    std::int16_t& smoothedLeftPeak_;
    CaptureDevice& capture_;
    AudioHost& host_;
    int captureIndex_ = 0;
    // The NETWORK ring's transmit animation resumes where the last talk left it.
    int txRingCounter_ = 0;
    int txRingPos_ = kTxRingPosAtStart;
};
