#pragma once

#include <windows.h>

// WM_PAINT of the main window: background, outline, bottom frame, title, close cross, version, credit line.
void PaintMainWindow(HWND window);
