#pragma once

#include <windows.h>

// The loopback listener thread: turns the synthesiser's key datagrams into the talk key, for the process's
// life.
DWORD WINAPI LoopbackListenerThread(LPVOID);
