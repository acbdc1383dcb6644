#pragma once

#include "audio/audio_thread.h"

// The talking phase: the capture device records into three buffers, and each buffer it fills goes to the
// voice server in the order the device fills them, 0, 1, 2, 0, ...
class TalkingPhase {
  public:
    TalkingPhase(SessionState& session, CaptureDevice& capture, AudioHost& host)
        : session_(session), capture_(capture), host_(host) {}

    // Opens the chosen input device and starts recording; false when it cannot be opened (already reported).
    bool Open();
    // Sends every block recorded while the user talks and no stop is requested.
    void Run();
    // Stops recording and drops whatever is left.
    void Close();

  private:
    void ShowSent(const std::uint8_t (&block)[kCaptureBlockBytes]);

    SessionState& session_;
    CaptureDevice& capture_;
    AudioHost& host_;
    int captureIndex_ = 0;
};
