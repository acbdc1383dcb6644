#pragma once

#include "session/main_window_zones.h"

// The banner text for the pointer at p: the first zone containing it wins.
const char* HoverHelpText(const Zones& zones, Point p);

// What a right-click at p says through the speech synthesiser.
struct SpokenHelp {
    const char* text;
    bool resetsHelpBanner; // outside every zone the banner goes back to the welcome text
};

SpokenHelp SpokenHelpFor(const Zones& zones, Point p);
