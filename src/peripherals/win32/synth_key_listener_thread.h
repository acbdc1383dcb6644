#pragma once

#include <windows.h>

class PushToTalk;
struct SynthLink;

// What the key listener uses; start-up keeps it for the life of the process.
struct SynthKeyListenerWiring {
    SynthLink& link;
    PushToTalk& pushToTalk;
};

// The synthesiser key listener thread, given the `SynthKeyListenerWiring*`: turns the synthesiser's key
// datagrams into the talk key, for the process's life.
DWORD WINAPI SynthKeyListenerThread(LPVOID wiring);
