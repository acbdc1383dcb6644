#pragma once

#include <windows.h>

// The inactivity countdown's thread timer routine, every second on the main thread: shows the time left under
// "TIME LEFT" and, when it runs out, shows the supervisor notice and closes the client.
void CALLBACK TimeLeftTimerProc(HWND, UINT, UINT_PTR, DWORD);
