#include "app/frame_changes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Two 4 x 3 frames side by side in one strip, as the animation keeps them.
struct Strip {
    static constexpr int kWidth = 4;
    static constexpr int kHeight = 3;
    std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(2 * kWidth * kHeight, 0xFF000000);

    std::uint32_t& At(int frame, int x, int y) { return pixels[y * 2 * kWidth + frame * kWidth + x]; }
    PixelFrame Frame(int frame) const {
        return PixelFrame{pixels.data() + frame * kWidth, kWidth, kHeight, 2 * kWidth};
    }
};

TEST(ChangedArea, BoundsEveryDifferingPixelOfFramesInAStrip) {
    Strip strip;
    EXPECT_TRUE(ChangedArea(strip.Frame(0), strip.Frame(1)).IsEmpty());
    strip.At(1, 2, 1) = 0xFF0000FF;
    EXPECT_EQ(ChangedArea(strip.Frame(0), strip.Frame(1)), (Rect{2, 1, 3, 2}));
    strip.At(1, 0, 2) = 0xFFFFFFFF;
    strip.At(0, 3, 0) = 0xFF00FF00; // a change in the frame before counts as much
    EXPECT_EQ(ChangedArea(strip.Frame(0), strip.Frame(1)), (Rect{0, 0, 4, 3}));
}

TEST(FrameCopies, CopiesOnlyTheChangeWhileTheWindowHoldsTheFrameBefore) {
    const Rect whole{0, 0, 150, 150};
    const Rect toFrame0{1, 1, 2, 2};
    const Rect toFrame1{10, 20, 30, 40};
    const Rect toFrame2{};
    FrameCopies copies({toFrame0, toFrame1, toFrame2}, whole);
    EXPECT_EQ(copies.AreaToCopy(0, 0), whole);
    EXPECT_EQ(copies.AreaToCopy(1, 0), toFrame1);
    EXPECT_EQ(copies.AreaToCopy(2, 0), toFrame2);
    EXPECT_EQ(copies.AreaToCopy(0, 0), toFrame0); // the loop wraps around
    EXPECT_EQ(copies.AreaToCopy(1, 1), whole);    // an exposure wiped the window
    EXPECT_EQ(copies.AreaToCopy(2, 1), toFrame2);
    copies.Forget();
    EXPECT_EQ(copies.AreaToCopy(0, 1), whole);
    EXPECT_EQ(copies.AreaToCopy(2, 1), whole); // not the frame after the one on screen
}

} // namespace
