#pragma once

#include <windows.h>

// Blinks the TCP light between blue and dark blue every five seconds, for the life of the process.
DWORD WINAPI HeartbeatThread(LPVOID);
