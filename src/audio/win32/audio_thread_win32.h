#pragma once

#include <windows.h>

// The audio thread, started once by start-up after the voice network's threads.
DWORD WINAPI AudioThread(LPVOID);

// Asks the audio thread to stop and waits until it has played out, closed its devices and ended, so that the
// process never ends with a sound stream open: ending it under an open stream can crash the sound system.
void StopAudioThread(HANDLE thread);
