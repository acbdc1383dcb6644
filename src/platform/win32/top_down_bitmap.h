#pragma once

#include <windows.h>

// The header of a top-down 32-bit bitmap of width x height, whose rows run from the top as on screen.
BITMAPINFO TopDown32BitmapInfo(int width, int height);
