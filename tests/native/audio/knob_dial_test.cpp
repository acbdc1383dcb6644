#include "audio/knob_dial.h"

#include <gtest/gtest.h>

// The level runs clockwise from straight below over 300 degrees, and the arrow, drawn pointing up in the
// image, ends up pointing where the user clicked.
TEST(KnobDial, LevelRunsClockwiseFromBelowAndTheArrowTurnsToTheClick) {
    struct Case {
        int dx, dy;
        float level;
        float rotation;
    } cases[] = {
        {0, 20, 0.0f, 180},  // below: level 0, arrow down
        {-20, 0, 0.3f, 270}, // left
        {0, -20, 0.6f, 360}, // above
        {20, 0, 0.9f, 450},  // right
        {20, 20, 1.0f, 480}, // lower right, past the end of the dial: level 1
        {1, 20, 1.0f, 480},
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(DialLevel(c.dx, c.dy), c.level) << c.dx << "," << c.dy;
        EXPECT_NEAR(KnobRotation(DialLevel(c.dx, c.dy)), c.rotation, 0.001f) << c.dx << "," << c.dy;
    }
    EXPECT_NEAR(DialLevel(-1, 40), 0.0047f, 0.0005f) << "just clockwise of below";
}

TEST(KnobDial, DotsRunClockwiseFromBelow) {
    EXPECT_EQ(KnobDotOffset(0, 8), (DotOffset{0, 30}));
    EXPECT_EQ(KnobDotOffset(1, 8), (DotOffset{-21, 21}));
    EXPECT_EQ(KnobDotOffset(2, 8), (DotOffset{-30, 0}));
    EXPECT_EQ(KnobDotOffset(4, 8), (DotOffset{0, -30}));
    EXPECT_EQ(KnobDotOffset(6, 8), (DotOffset{30, 0}));
    EXPECT_EQ(KnobDotOffset(0, 7), (DotOffset{0, 30}));
    EXPECT_EQ(KnobDotOffset(1, 7), (DotOffset{-23, 18}));
    EXPECT_EQ(KnobDotOffset(6, 7), (DotOffset{23, 18}));
}
