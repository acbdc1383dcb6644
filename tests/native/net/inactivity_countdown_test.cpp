#include "net/inactivity_countdown.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TimeLeft, FormatsHoursMinutesSeconds) {
    const std::pair<int, const char*> table[] = {
        {0, "00:00:00"},    {59, "00:00:59"},   {60, "00:01:00"}, {3599, "00:59:59"},   {3600, "01:00:00"},
        {4499, "01:14:59"}, {4500, "01:15:00"}, {-5, "00:00:00"}, {360000, "100:00:00"}};
    for (auto [seconds, text] : table) {
        char out[16];
        FormatTimeLeft(seconds, out);
        EXPECT_STREQ(out, text) << seconds;
    }
}

TEST(InactivityCountdown, FirstTickShowsOneFourteenFiftyNine) {
    int seconds = 4500;
    bool fired = false;
    const CountdownTick tick = TickInactivityCountdown(seconds, fired);
    EXPECT_STREQ(tick.text, "01:14:59");
    EXPECT_FALSE(tick.closeNow);
    EXPECT_EQ(seconds, 4499);
}

TEST(InactivityCountdown, ReadsZeroOneTickBeforeTheCloseAndClosesOnce) {
    int seconds = 2;
    bool fired = false;
    std::string shown;
    int closes = 0;
    for (int tick = 0; tick < 5; ++tick) {
        const CountdownTick result = TickInactivityCountdown(seconds, fired);
        shown += std::string(result.text) + (result.closeNow ? "!" : "") + " ";
        closes += result.closeNow ? 1 : 0;
    }
    EXPECT_EQ(shown, "00:00:01 00:00:00 00:00:00! 00:00:00 00:00:00 ");
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(seconds, 0);
}

} // namespace
