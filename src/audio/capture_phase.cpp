#include "audio/capture_phase.h"

#include "session/led_colour.h"
#include "session/session_state.h"

namespace {

// The longest the phase goes without looking at the talk keys, should a change go unannounced; every change
// of theirs ends the wait at once.
constexpr int kLongestWaitMs = 100;

} // namespace

bool TalkingPhase::Open() {
    const int error = capture_.Open(host_.SelectedInputDevice());
    if (error != 0) {
        host_.CaptureDeviceFailed(error);
        return false;
    }
    captureIndex_ = 0;
    for (int index = 0; index < kCaptureBuffers; ++index) {
        capture_.Queue(index);
    }
    capture_.Start();
    session_.txRxLed.store(kLedRed, std::memory_order_relaxed);
    return true;
}

void TalkingPhase::Run() {
    while (host_.UserTalks() &&
           session_.audioRunFlag.load(std::memory_order_relaxed) != kAudioStopRequested) {
        if (capture_.IsFilled(captureIndex_)) {
            host_.SendBlock(capture_.Buffer(captureIndex_));
            capture_.Queue(captureIndex_);
            captureIndex_ = (captureIndex_ + 1) % kCaptureBuffers;
        }
        if (!capture_.IsFilled(captureIndex_)) {
            capture_.WaitForBuffer(kLongestWaitMs);
        }
    }
}

void TalkingPhase::Close() {
    capture_.Close();
    session_.txRxLed.store(kLedBlue, std::memory_order_relaxed);
}
