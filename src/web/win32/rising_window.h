#pragma once

#include "web/opening_frames.h"

#include <windows.h>

// A window of the main window that rises out of it and grows to its size (the group list and network
// windows).
struct RisingWindow {
    const wchar_t* className = nullptr;
    const wchar_t* title = nullptr;
    WNDPROC procedure = nullptr;
    UINT classStyle = 0;
    COLORREF background = 0;
    Point offset;             // of the starting point from the main window's anchor
    bool anchorRight = false; // the anchor is the main window's top-right corner, else its top-left
    Growth growth;
};

// Registers the class, creates the window owned by the main window, shows it and runs both animations on
// the calling thread (about 0.8 s, during which no message is handled). Null when the window cannot be
// created.
HWND OpenRisingWindow(const RisingWindow& spec);

// Hands the keyboard back to the main window: the windows that rise out of it never keep the focus.
void ReturnFocusToMainWindow();
