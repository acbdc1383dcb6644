#pragma once

#include "platform/geometry.h"
#include "web/account_texts.h"

#include <windows.h>

// The current speaker on the main window: the picture in a red frame, the first name and town on the strip
// above it, and the greeting phrase on a tinted blur at the bottom.

// Where the main window's layout puts them.
struct SpeakerBandPlaces {
    Point picture; // top-left corner
    Rect nameStrip;
    Point firstName;
    Point town;
    Rect phraseStrip; // the phrase starts at its top-left corner
};

// Draws the picture at its own size in place of the one shown; false, drawing nothing, when the bitmap cannot
// be read. The caller keeps the bitmap.
bool ShowSpeakerPicture(HWND mainWindow, HBITMAP picture);

void ShowSpeakerDetails(HWND mainWindow, const SpeakerDetails& details);
// The same on `dc`, which shows the main window's client area: each text is kept within its strip.
void DrawSpeakerDetails(HDC dc, const SpeakerDetails& details);

// Paint the background colour over the picture last shown, or over the name strip and the phrase's strip.
void ClearSpeakerPicture(HWND mainWindow);
void ClearSpeakerDetails(HWND mainWindow);

// Replaces `rect` (client coordinates of the main window) on `target` by a blurred copy of what the main
// window shows there, with red and blue kept and a fixed green.
void BlurTintRect(HDC target, const RECT& rect);
