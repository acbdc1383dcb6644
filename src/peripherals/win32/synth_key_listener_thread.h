#pragma once

#include <windows.h>

// The synthesiser key listener thread: turns the synthesiser's key datagrams into the talk key, for the
// process's life.
DWORD WINAPI SynthKeyListenerThread(LPVOID);
