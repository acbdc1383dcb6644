#pragma once

#include "platform/geometry.h"

#include <array>

// The parameters window's opening: it grows as a square out of a point beside the main window's left edge,
// toward the upper left, then stretches downward to its full size left of the main window.

inline constexpr int kSquareSteps = 21;
inline constexpr int kStretchSteps = 26;
inline constexpr int kOpeningFrameCount = kSquareSteps + kStretchSteps;
inline constexpr int kOpeningFrameDelayMs = 20;

// Where the window is created, before its first frame; the main window's screen corner is (left, top).
WindowFrame CreationFrame(int left, int top);

// Every frame of the opening in order; the last is the open window.
std::array<WindowFrame, kOpeningFrameCount> OpeningFrames(int left, int top);
