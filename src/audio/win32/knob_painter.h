#pragma once

#include "session/main_window_zones.h"
#include "audio/endpoint_levels.h"

#include <windows.h>

// The PARAMS, MIC GAIN and VOLUME knobs with their rings of dots and labels, the AUDIO LEFT and AUDIO RIGHT
// labels, and the documentation and synthesiser icons; repainted once a second so that the knobs follow
// levels changed anywhere in the system.

struct KnobImages {
    HBITMAP arrow = nullptr;  // MIC GAIN and VOLUME, arrow straight up
    HBITMAP params = nullptr; // PARAMS
    HBITMAP documentationIcon = nullptr;
    HBITMAP synthesiserIcon = nullptr;
};

// Paints everything on the main window's device context and records where each knob was drawn in its
// zone. A knob that cannot be drawn ends the painting there.
void PaintKnobs(HDC dc, const KnobImages& images, EndpointLevels& levels, COLORREF background, Zones& zones);

// The knob timer's tick: paints the knobs on the main window unless neither level nor colour changed since
// the window was last exposed.
void PaintKnobsTick(HWND mainWindow, const KnobImages& images, COLORREF background, Zones& zones);
