#pragma once

#include "platform/geometry.h"

#include <windows.h>

#include <span>

// Moves the window through the frames in order, painting each and pausing after it, without activating it or
// changing its place among the windows. Holds the calling thread for the whole sequence.
void PlayWindowFrames(HWND window, std::span<const WindowFrame> frames, int pauseMs);
