#include "audio/audio_thread.h"

#include "audio/audio_state.h"
#include "audio/capture_phase.h"
#include "audio/playback_phase.h"

namespace {

bool StopRequested(const AudioState& audio) {
    return audio.runFlag.load(std::memory_order_relaxed) != kAudioRunning;
}

} // namespace

void RunAudioThread(AudioState& audio, IndicatorLights& lights, CaptureDevice& capture,
                    PlaybackDevice& playback, AudioHost& host) {
    AudioThreadState state{audio, lights};
    PlaybackPhase listening(state, playback, host);
    TalkingPhase talking(state, capture, host);
    do {
        if (!listening.Run()) {
            return;
        }
        // A stop opens no capture device: the machine may have none, and a failed opening ends the process.
        if (StopRequested(audio)) {
            break;
        }
        if (!talking.Open()) {
            return;
        }
        talking.Run();
        talking.Close();
    } while (!StopRequested(audio));
    audio.runFlag.store(kAudioEnded, std::memory_order_relaxed);
}
