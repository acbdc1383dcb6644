#pragma once

#include "platform/geometry.h"

#include <vector>

// The two-stage opening of the group list and network windows: the window rises out of the main window as a
// growing square, then grows down and to the right from where the square ended.

inline constexpr int kRisePauseMs = 20;

// The rising square, from `start` (screen coordinates): 11 steps of 20 pixels, drifting right by a quarter
// of its size while it climbs by all of it.
std::vector<WindowFrame> RiseFrames(Point start);

// How a window grows once risen; a cap of 0 leaves that side uncapped.
struct Growth {
    int lastStep = 0; // the steps run 0, 10, 20, ... up to this
    int widthCap = 0;
    int widthMargin = 0; // added after the cap
    int heightCap = 0;
    int pauseMs = 0;
};

inline constexpr Growth kGroupListGrowth{608, 646, 20, 650, 10}; // ends 666 x 650
inline constexpr Growth kNetworkGrowth{264, 315, 0, 0, 20};      // ends 315 wide

// The growing frames from the risen window's rectangle, its top-left corner kept.
std::vector<WindowFrame> GrowFrames(const Rect& risen, const Growth& growth);
