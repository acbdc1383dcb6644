#pragma once

#include "net/supervisor.h"
#include "platform/stop_signal.h"

#include <windows.h>

class SpeechSink;
struct SharedState;
struct VoiceLink;

// What the voice network's threads use; start-up keeps it for the life of the process.
struct VoiceNetwork {
    VoiceLink& link;
    SharedState& shared;
    SpeechSink& speech;
    SupervisorNoticeHandler onNotice;
    // Asked by shutdown: each thread ends after the round of its loop it is in, the supervisor's pauses cut.
    StopSignal stop{};
};

// Thread bodies of the voice network, each given the `VoiceNetwork*`, started once by start-up after the
// sockets are open; each returns once `stop` is asked.
DWORD WINAPI PresenceThread(LPVOID network);
DWORD WINAPI VoiceReceiveThread(LPVOID network);
DWORD WINAPI SupervisorThread(LPVOID network);
