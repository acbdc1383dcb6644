#pragma once

#include <windows.h>

// A bitmap from a file of the working directory, or null.
HBITMAP LoadBitmapFile(const char* fileName);

// Tells the user a required picture is missing, then destroys the main window, which ends the run.
void ReportMissingImage(HWND mainWindow, const char* boxText, const char* boxCaption);
