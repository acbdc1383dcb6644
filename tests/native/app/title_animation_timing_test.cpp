#include "app/title_animation_timing.h"

#include <gtest/gtest.h>

namespace {

TEST(TitleAnimationTiming, FrameDelaysComeFromTheFileInHundredths) {
    const std::int32_t delays[] = {10, 50};
    EXPECT_EQ(FrameDelayMs(delays, 2, 0), 100);
    EXPECT_EQ(FrameDelayMs(delays, 2, 1), 500);
    EXPECT_EQ(FrameDelayMs(delays, 2, 2), 100); // a frame past the list takes the first delay
    EXPECT_EQ(FrameDelayMs(nullptr, 0, 0), 100);
    EXPECT_EQ(FrameDelayMs(delays, 0, 1), 100);
}

TEST(TitleAnimationTiming, EveryFrameShowsForTheFirstDelay) {
    const std::int32_t delays[] = {10, 50};
    // Frames of 10 and 50 hundredths both show for 100 ms: the timer period is the first frame's.
    EXPECT_EQ(AnimationTimerPeriodMs(FrameDelayMs(delays, 2, 0)), 100u);
    const std::int32_t hostile[] = {0, -5};
    EXPECT_EQ(AnimationTimerPeriodMs(FrameDelayMs(hostile, 2, 0)), 10u);
    EXPECT_EQ(AnimationTimerPeriodMs(FrameDelayMs(hostile, 2, 1)), 10u);
}

} // namespace
