#pragma once

#include "web/own_details.h"

#include <cstdint>

// What the account fetches bring and every window paints with; the fetches and the windows all run on the
// main thread.
struct AccountState {
    std::uint32_t backgroundColour = 0; // COLORREF 0x00BBGGRR, from the display parameters
    OwnDetails ownDetails;
    // Set by the main window's repaint, which wipes the speaker's picture and details: they are fetched again
    bool refetchFlag = false;
};
