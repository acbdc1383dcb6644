#pragma once

#include <windows.h>

// The red cross in the close zone, drawn once the start-up has made it ready.
void DrawCloseButton(HDC dc);

// Turns the cross yellow when the pointer enters the close zone and red when it leaves, once each way.
void UpdateCloseButtonHover(HWND window, POINT pointer);
