#pragma once

#include "net/supervisor.h"

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
};

// Thread bodies of the voice network, each given the `VoiceNetwork*`, started once by start-up after the
// sockets are open; none returns.
DWORD WINAPI PresenceThread(LPVOID network);
DWORD WINAPI VoiceReceiveThread(LPVOID network);
DWORD WINAPI SupervisorThread(LPVOID network);
