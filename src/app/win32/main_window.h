#pragma once

#include <windows.h>

// Window procedure of the class "X": the client's one permanent window.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
