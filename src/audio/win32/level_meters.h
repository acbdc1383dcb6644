#pragma once

#include "platform/geometry.h"

#include <windows.h>

// The two needle meters, each a child window of the main window with a face image, and the two level bars
// painted on the main window under them. Every 50 ms each meter redraws its face and needle from the
// session's needle angle; the left meter's tick also redraws both bars.

// Where the main window's layout puts the meters' windows and the bars under them (top-left corners).
struct LevelMeterPlaces {
    Point leftMeter;
    Point rightMeter;
    Point leftBar;
    Point rightBar;
};

// Registers the meter classes, creates both meters with their faces at their places and starts their
// timers.
void CreateLevelMeters(HWND mainWindow, HINSTANCE instance, const LevelMeterPlaces& places);

// Starts both meters' timers again from now: started beside the panels' 50 ms timer, their ticks fall in the
// same wake of the main thread instead of one wake each.
void RestartLevelMeterTimers();

LRESULT CALLBACK LeftMeterWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK RightMeterWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The face at (0, 0) at its own size and the needle from the middle of its bottom edge. A missing face
// leaves the face undrawn and the pivot at (0, 0).
void PaintMeter(HDC dc, HBITMAP face, int needleValue);

// Both bars at their places, on the main window's device context.
void PaintLevelBars(HDC dc, const LevelMeterPlaces& places, int leftBarLevel, int rightBarLevel);
