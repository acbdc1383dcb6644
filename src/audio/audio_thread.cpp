#include "audio/audio_thread.h"

#include "session/led_colour.h"
#include "session/session_state.h"
#include "audio/capture_phase.h"
#include "audio/playback_phase.h"

void RunAudioThread(SessionState& session, CaptureDevice& capture, PlaybackDevice& playback,
                    AudioHost& host) {
    PlaybackPhase listening(session, playback, host);
    TalkingPhase talking(session, capture, host);
    do {
        if (!listening.Run()) {
            return;
        }
        // Even a stop request opens and closes the capture device once, sending nothing.
        if (!talking.Open()) {
            return;
        }
        talking.Run();
        talking.Close();
    } while (session.audioRunFlag.load(std::memory_order_relaxed) == kAudioRunning);
    session.audioRunFlag.store(kAudioEnded, std::memory_order_relaxed);
}
