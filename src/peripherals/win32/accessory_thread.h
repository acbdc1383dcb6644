#pragma once

#include <windows.h>

// The accessory thread: finds a supported USB-serial adapter, probes its key five times a second and shows
// its state, until shutdown asks it to end.
DWORD WINAPI AccessoryThread(LPVOID);
