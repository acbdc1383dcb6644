#pragma once

#include "platform/geometry.h"
#include "platform/win32/scoped_win.h"

#include <windows.h>

// Painting helpers shared by every window. Fonts are made once per height and kept for the run (painters
// tick many times a second); memory device contexts and off-screen bitmaps are made per call, and every
// call restores what it selected. A null device context, text or bitmap draws nothing.

// Bold Arial of the given cell height with TrueType output precision; the caller deletes it.
HFONT CreateBoldArial(int height);

// The shared bold Arial of that height, made on first use and never deleted; null if it cannot be made
// (or sixteen other heights are in use).
HFONT SharedBoldArial(int height);

// Selects the shared bold Arial font and the text colours into a device context for its lifetime, then
// puts back what was selected. A null background leaves the text's background transparent.
class ScopedTextStyle {
  public:
    ScopedTextStyle(HDC dc, int fontHeight, COLORREF textColour, const COLORREF* background);
    ~ScopedTextStyle();
    ScopedTextStyle(const ScopedTextStyle&) = delete;
    ScopedTextStyle& operator=(const ScopedTextStyle&) = delete;

    // False when the font could not be made; nothing was selected then.
    bool Ready() const { return fontSelection_.Ok(); }

  private:
    HDC dc_;
    ScopedSelect fontSelection_;
    int oldMode_ = 0;
    COLORREF oldBackground_ = 0;
    COLORREF oldText_ = 0;
};

// Single-byte text with its top-left corner at (x, y): white bold Arial 14 on an opaque background.
// A null text draws nothing.
void DrawLabel(HDC dc, const char* text, int x, int y, COLORREF background);

// The box DrawLabel paints opaquely for that text at (x, y); empty when the font cannot be made.
Rect LabelBox(HDC dc, const char* text, int x, int y);

// UTF-8 text at (x, y) in bold Arial 20, on a transparent background.
void DrawUtf8Text(HDC dc, const char* utf8, int x, int y, COLORREF textColour);

// The bitmap at its own size, top-left at (x, y); pure black pixels are transparent.
void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y);

// The bitmap at its own size, top-left at (x, y), copied opaquely.
void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y);

// The whole bitmap scaled to width x height with halftone stretching, then copied opaquely to (x, y).
void DrawStretchedBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height);

// How many times the main window was exposed (asked to paint itself): painters that skip unchanged ticks
// draw again after each.
unsigned MainWindowExposures();
void NoteMainWindowExposed();
