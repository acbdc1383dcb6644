#pragma once

#include "web/opening_frames.h"

#include <windows.h>

// A window of the main window that rises out of it and grows to its size (the group list and network
// windows).
struct RisingWindow {
    const wchar_t* className = nullptr;
    const char* title = nullptr;
    WNDPROC procedure = nullptr;
    UINT classStyle = 0;
    COLORREF background = 0;
    Point offset;             // of the starting point from the main window's anchor
    bool anchorRight = false; // the anchor is the main window's top-right corner, else its top-left
    Growth growth;
    UINT_PTR refreshTimer = 0; // ticks every second once the window has risen
};

// A rising window from the click that opens it to its WM_DESTROY.
struct RisingWindowState {
    HWND window = nullptr;
    bool isOpen = false;
    bool isReady = false; // drawing waits for the opening animation's end
};

// Closes the open window the close box's way, through the queue, so it is destroyed once. Otherwise registers
// the class, creates the window owned by the main window and runs both animations on the calling thread
// (about 0.8 s, during which no message is handled), then hands the keyboard back to the main window and
// starts the refresh timer. 0 when the window cannot be created: nothing stays open, so a later click tries
// again.
int ToggleRisingWindow(const RisingWindow& spec, RisingWindowState& state);

// For WM_DESTROY: stops the refresh timer and forgets the window.
void ForgetRisingWindow(const RisingWindow& spec, RisingWindowState& state);
