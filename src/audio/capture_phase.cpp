#include "audio/capture_phase.h"

#include "audio/level_update.h"
#include "audio/network_ring.h"
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
    session_.lights.txRx.store(kLedRed, std::memory_order_relaxed);
    return true;
}

void TalkingPhase::Run() {
    while (host_.UserTalks() &&
           session_.audioRunFlag.load(std::memory_order_relaxed) != kAudioStopRequested) {
        if (capture_.IsFilled(captureIndex_)) {
            host_.SendBlock(capture_.Buffer(captureIndex_));
            ShowSent(capture_.Buffer(captureIndex_));
            capture_.Queue(captureIndex_);
            captureIndex_ = (captureIndex_ + 1) % kCaptureBuffers;
        }
        if (!capture_.IsFilled(captureIndex_)) {
            capture_.WaitForBuffer(kLongestWaitMs);
        }
    }
}

// The needles follow the block sent, and the NETWORK ring's transmit animation takes its step.
void TalkingPhase::ShowSent(const std::uint8_t (&block)[kCaptureBlockBytes]) {
    const CaptureLevels levels = UpdateCaptureLevels(session_.smoothedLeftPeak, block);
    session_.smoothedLeftPeak = levels.smoothedLeftPeak;
    session_.leftNeedleAngle.store(levels.leftNeedleAngle, std::memory_order_relaxed);
    session_.rightNeedleAngle.store(levels.rightNeedleAngle, std::memory_order_relaxed);
    TransmitRingStep(session_.txRingCounter, session_.txRingPos, session_.lights.ring);
}

void TalkingPhase::Close() {
    capture_.Close();
    session_.lights.txRx.store(kLedBlue, std::memory_order_relaxed);
}
