#pragma once

#include <windows.h>

// A main window of the client's size for the windows under test to hang from.
inline HWND StandInMainWindow() {
    return CreateWindowExW(0, L"STATIC", L"ZELVORA", WS_POPUP | WS_VISIBLE, 400, 100, 550, 730, nullptr,
                           nullptr, nullptr, nullptr);
}

// A handle that no longer names a window: nothing can be created with it as owner.
inline HWND DestroyedWindow() {
    const HWND gone =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    return gone;
}

// Handles every message waiting in this thread's queue, as the main loop would.
inline void DispatchWaitingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}
