#pragma once

// State of every indicator light; any other value leaves the light undrawn.
enum LedColour : int {
    kLedRed = 1,
    kLedDarkRed = 2,
    kLedGreen = 3,
    kLedYellow = 4,
    kLedBlue = 5,
    kLedDarkBlue = 6,
};

constexpr bool IsDrawableLed(int colour) {
    return colour >= kLedRed && colour <= kLedDarkBlue;
}
