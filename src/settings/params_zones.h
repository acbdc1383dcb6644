#pragma once

#include "platform/geometry.h"

// Client areas of the parameters window that act on a click.
inline constexpr Rect kParamsInputZone{0, 0, 150, 150};    // opens or closes the input device chooser
inline constexpr Rect kParamsColourZone{60, 383, 75, 398}; // the colour swatch: opens the colour dialog

enum class ParamsClick { None, ChooseColour, ToggleInputChooser };

constexpr ParamsClick ParamsClickAt(Point p) {
    if (kParamsColourZone.Contains(p)) {
        return ParamsClick::ChooseColour;
    }
    return kParamsInputZone.Contains(p) ? ParamsClick::ToggleInputChooser : ParamsClick::None;
}
