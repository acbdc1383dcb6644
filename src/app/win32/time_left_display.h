#pragma once

#include <windows.h>

// The inactivity countdown's thread timer routine, every second on the main thread: shows the time left under
// "TIME LEFT" and, when it runs out, shows the supervisor notice and closes the client.
void CALLBACK TimeLeftTimerProc(HWND, UINT, UINT_PTR, DWORD);

// The display alone: the time text in yellow at the top-left of the time-left zone, "TIME LEFT" below it.
void DrawTimeLeft(HDC dc, const char* text, COLORREF background);
