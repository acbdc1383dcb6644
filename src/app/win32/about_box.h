#pragma once

#include <windows.h>

// The modal about box, owned by the main window.
void ShowAboutBox(HWND owner);
