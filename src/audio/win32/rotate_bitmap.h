#pragma once

#include <windows.h>

// A new bitmap of the same size with the source turned clockwise on the screen by `degrees` about its
// centre; the corners it leaves uncovered are opaque black. Null when GDI+ cannot make it: the source is
// never handed back, so the caller deletes whatever it gets and the source stays usable.
HBITMAP RotateBitmap(HBITMAP source, float degrees);
