#include "audio/audio_thread.h"

#include "session/led_colour.h"
#include "session/session_state.h"
#include "audio/capture_phase.h"
#include "audio/playback_phase.h"

namespace {

bool StopRequested(const SessionState& session) {
    return session.audioRunFlag.load(std::memory_order_relaxed) != kAudioRunning;
}

} // namespace

void RunAudioThread(SessionState& session, CaptureDevice& capture, PlaybackDevice& playback,
                    AudioHost& host) {
    PlaybackPhase listening(session, playback, host);
    TalkingPhase talking(session, capture, host);
    do {
        if (!listening.Run()) {
            return;
        }
        // A stop opens no capture device: the machine may have none, and a failed opening ends the process.
        if (StopRequested(session)) {
            break;
        }
        if (!talking.Open()) {
            return;
        }
        talking.Run();
        talking.Close();
    } while (!StopRequested(session));
    session.audioRunFlag.store(kAudioEnded, std::memory_order_relaxed);
}
