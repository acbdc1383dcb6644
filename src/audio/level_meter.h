#pragma once

#include <cstdint>

// What the level meters draw for the values the audio thread publishes.

// Needle values are screen angles in degrees (y down, 270 straight up); the level updates give 218..319.
inline constexpr int kNeedleRestAngle = 218;
inline constexpr int kNeedleMaxAngle = 320;
inline constexpr int kNeedleLength = 70;

// Where a needle's tip lies relative to its pivot, in screen pixels.
struct NeedleTip {
    int dx = 0;
    int dy = 0;
    constexpr bool operator==(const NeedleTip&) const = default;
};

// The angle a needle value is drawn at: anything outside 218..320 rests at 218.
int DrawnNeedleAngle(int needleValue);

NeedleTip NeedleTipFor(int needleValue);

// The pivot is the middle of the face's bottom edge.
constexpr NeedleTip NeedlePivot(int faceWidth, int faceHeight) {
    return NeedleTip{faceWidth / 2, faceHeight};
}

// Each bar is a row of one-pixel columns; every 64 of level lights one more column.
inline constexpr int kBarColumns = 150;
inline constexpr int kBarLevelPerColumn = 64;

struct BarColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    constexpr bool operator==(const BarColour&) const = default;
};

// How many columns from the left a bar level lights, 0..kBarColumns.
int LitBarColumns(int barLevel);

// The colour of a lit column: green turning yellow, then yellow turning red, red over the last tenth.
BarColour LitColumnColour(int column);
