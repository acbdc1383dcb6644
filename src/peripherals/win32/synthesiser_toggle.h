#pragma once

#include <windows.h>

struct SynthLink;

// Starts the companion speech synthesiser, or asks it to close when it already runs, and says which in the
// main window's bottom frame on its background. False when the Program Files folder is unknown or the program
// could not be started.
bool ToggleSynthesiser(const SynthLink& link, HWND mainWindow, COLORREF background);
