#pragma once

#include <windows.h>

inline constexpr UINT_PTR kTitleAnimationTimerId = 4;

// Loads "electron-animation.gif" into 150 x 150 frames and starts the window's animation timer;
// without the file it tells the user and closes the client.
void LoadTitleAnimation(HWND mainWindow);

// Sets the running animation timer again, counting its period from now: started beside the other timers,
// its ticks share their wakes of the main thread.
void RestartTitleAnimationTimer(HWND mainWindow);

// Draws the current frame into the animation zone and moves on to the next one.
void DrawNextAnimationFrame(HWND mainWindow);
