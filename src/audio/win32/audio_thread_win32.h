#pragma once

#include <windows.h>

// The audio thread, started once by start-up after the voice network's threads.
DWORD WINAPI AudioThread(LPVOID);

// Asks the audio thread to stop and gives it a moment to play out and close its devices, so that the process
// never ends with the thread inside the sound system.
void StopAudioThread();
