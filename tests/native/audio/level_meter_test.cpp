#include "audio/level_meter.h"

#include <gtest/gtest.h>

#include <climits>

TEST(Needle, TipsAcrossTheAcceptedRange) {
    struct Case {
        int value;
        NeedleTip tip;
    } cases[] = {
        {218, {-55, -43}}, {243, {-31, -62}}, {270, {0, -70}},
        {294, {28, -63}},  {319, {52, -45}},  {320, {53, -44}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NeedleTipFor(c.value), c.tip) << c.value;
    }
}

TEST(Needle, ValuesOutsideTheRangeRestAtSilence) {
    const NeedleTip rest = NeedleTipFor(218);
    for (int value : {0, 217, 321, 400, -270, INT_MIN, INT_MAX}) {
        EXPECT_EQ(NeedleTipFor(value), rest) << value;
    }
}

TEST(Bar, SixtyFourOfLevelPerColumn) {
    EXPECT_EQ(LitBarColumns(63), 0);
    EXPECT_EQ(LitBarColumns(64), 1);
    EXPECT_EQ(LitBarColumns(6400), 100);
    EXPECT_EQ(LitBarColumns(9599), 149);
    EXPECT_EQ(LitBarColumns(9600), kBarColumns);
    EXPECT_EQ(LitBarColumns(32767), kBarColumns);
    EXPECT_EQ(LitBarColumns(-64), 0);
    EXPECT_EQ(LitBarColumns(INT_MIN), 0);
}

TEST(Bar, RampFromGreenThroughYellowToRed) {
    struct Case {
        int column;
        BarColour colour;
    } cases[] = {
        {0, {0, 255, 0}},     {52, {126, 255, 0}},  {104, {252, 255, 0}},
        {105, {254, 255, 0}}, {106, {255, 247, 0}}, {120, {255, 128, 0}},
        {135, {255, 1, 0}},   {136, {255, 0, 0}},   {149, {255, 0, 0}},
    };
    for (const Case& c : cases) {
        const BarColour got = LitColumnColour(c.column);
        EXPECT_EQ(got, c.colour) << c.column << ": " << int(got.red) << "," << int(got.green) << ","
                                 << int(got.blue);
    }
}
