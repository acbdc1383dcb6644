#pragma once

#include <windows.h>

// The accessory thread: finds a supported USB-serial adapter, probes its key five times a second and shows
// its state, until shutdown asks it to end.
DWORD WINAPI AccessoryThread(LPVOID);

// Asks the accessory thread to end, wakes it from its wait for a device, and waits until it has ended.
void StopAccessoryThread(HANDLE thread);
