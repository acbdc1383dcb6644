#pragma once

#include <windows.h>

#include <atomic>

class PushToTalk;
struct SynthLink;

// What the key listener uses; start-up keeps it for the life of the process.
struct SynthKeyListenerWiring {
    SynthLink& link;
    PushToTalk& pushToTalk;
    // Cleared by shutdown: the listener ends after the round it is in.
    std::atomic<bool> running{true};
};

// The synthesiser key listener thread, given the `SynthKeyListenerWiring*`: turns the synthesiser's key
// datagrams into the talk key until `running` is cleared.
DWORD WINAPI SynthKeyListenerThread(LPVOID wiring);
