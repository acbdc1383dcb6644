#pragma once

// The dial of the MIC GAIN and VOLUME knobs: a level 0..1 runs clockwise on the screen from straight below
// the knob's centre over 300 degrees, and the knob image turns so that its arrow points at the level.

// Level for a click at (dx, dy) from the knob's centre, screen y down; the last 60 degrees, from lower
// right back to straight below, all give 1.
float DialLevel(int dx, int dy);

// Clockwise turn, in degrees, of a knob image drawn with its arrow straight up, to show a level.
float KnobRotation(float level);

// Ring of dots around a knob, radius 30: dot 0 straight below the centre, the others clockwise after it.
inline constexpr int kKnobDotRadius = 30;

struct DotOffset {
    int dx = 0;
    int dy = 0;
    constexpr bool operator==(const DotOffset&) const = default;
};

DotOffset KnobDotOffset(int dot, int dotCount);
