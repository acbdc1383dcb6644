#include "audio/capture_phase.h"

#include "audio/level_update.h"
#include "audio/network_ring.h"
#include "audio/audio_state.h"
#include "session/indicator_lights.h"

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
    lights_.txRx.store(kLedRed, std::memory_order_relaxed);
    return true;
}

void TalkingPhase::Run() {
    while (host_.UserTalks() && audio_.runFlag.load(std::memory_order_relaxed) != kAudioStopRequested) {
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
    const CaptureLevels levels = UpdateCaptureLevels(smoothedLeftPeak_, block);
    smoothedLeftPeak_ = levels.smoothedLeftPeak;
    audio_.levels.leftNeedleAngle.store(levels.leftNeedleAngle, std::memory_order_relaxed);
    audio_.levels.rightNeedleAngle.store(levels.rightNeedleAngle, std::memory_order_relaxed);
    TransmitRingStep(txRingCounter_, txRingPos_, lights_.ring);
}

void TalkingPhase::Close() {
    capture_.Close();
    lights_.txRx.store(kLedBlue, std::memory_order_relaxed);
}
