#pragma once

#include "platform/geometry.h"

#include <windows.h>

#include <atomic>

// The USB icon as the main window shows it: the accessory thread replaces the picture, the main window's
// paint draws the same one.
struct UsbIconView {
    HWND mainWindow = nullptr;
    Rect place;
    std::atomic<HBITMAP> picture{nullptr};
};

// Shows the accessory's state as the USB icon on the main window: 1 black, 2 green, 3 red. Called by start-up
// with 1 before the accessory thread exists, then only by that thread.
void SetUsbIconState(UsbIconView& view, int state);
