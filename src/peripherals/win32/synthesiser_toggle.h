#pragma once

#include "platform/geometry.h"

#include <windows.h>

struct SynthLink;

// Where the toggle says what it did: a frame of a window, on the window's background.
struct StatusLine {
    HWND window = nullptr;
    Rect frame;
    COLORREF background = 0;
};

// Starts the companion speech synthesiser, or asks it to close when it already runs, and says which on the
// status line. False when the Program Files folder is unknown or the program could not be started.
bool ToggleSynthesiser(const SynthLink& link, const StatusLine& status);
