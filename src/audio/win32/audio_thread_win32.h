#pragma once

#include <windows.h>

// The audio thread, started once by start-up after the voice network's threads; nothing waits for it.
DWORD WINAPI AudioThread(LPVOID);
