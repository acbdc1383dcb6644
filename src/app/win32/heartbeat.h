#pragma once

#include <windows.h>

// Blinks the TCP light between blue and dark blue every five seconds until the event `stopEvent` (a HANDLE)
// is set.
DWORD WINAPI HeartbeatThread(LPVOID stopEvent);
