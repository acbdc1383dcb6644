#pragma once

#include "audio/endpoint_levels.h"
#include "platform/geometry.h"

#include <windows.h>

#include <optional>

// The PARAMS, MIC GAIN and VOLUME knobs with their rings of dots and labels, the AUDIO LEFT and AUDIO RIGHT
// labels, and the documentation and synthesiser icons; repainted once a second so that the knobs follow
// levels changed anywhere in the system.

struct KnobImages {
    HBITMAP arrow = nullptr;  // MIC GAIN and VOLUME, arrow straight up
    HBITMAP params = nullptr; // PARAMS
    HBITMAP documentationIcon = nullptr;
    HBITMAP synthesiserIcon = nullptr;
};

// Where the main window's layout puts them: each knob image's top-left corner (its label goes under it),
// the AUDIO labels, and the icons, stretched to their zones.
struct KnobPlaces {
    Point params;
    Point micGain;
    Point volume;
    Point audioLeftLabel;
    Point audioRightLabel;
    Rect documentationIcon;
    Rect synthesiserIcon;
};

// Where each knob's image was drawn; empty for a knob that could not be drawn and for those after it.
struct KnobExtents {
    Rect params;
    Rect micGain;
    Rect volume;
};

// Paints everything on the main window's device context. A knob that cannot be drawn ends the painting
// there.
KnobExtents PaintKnobs(HDC dc, const KnobImages& images, EndpointLevels& levels, COLORREF background,
                       const KnobPlaces& places);

// The knob timer's tick: paints the knobs on the main window unless neither level nor colour changed since
// the window was last exposed; nothing when it did not paint.
std::optional<KnobExtents> PaintKnobsTick(HWND mainWindow, const KnobImages& images, COLORREF background,
                                          const KnobPlaces& places);
