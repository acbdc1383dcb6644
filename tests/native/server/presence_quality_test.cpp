#include "core/presence_quality.h"

#include <gtest/gtest.h>

#include <vector>

namespace zelvora::network {
namespace {

// Feeds arrivals spaced by the given intervals (ms, repeated until a second and a half has passed), then
// asks for the level `quietAfter` ms after the last arrival.
int LevelFor(const std::vector<double>& intervalsMs, double quietAfterMs = 1) {
    PresenceQuality quality;
    Micros at = 5'000'000;
    quality.Record(at);
    for (std::size_t i = 0; at < 6'500'000; ++i) {
        at += static_cast<Micros>(intervalsMs[i % intervalsMs.size()] * 1000);
        quality.Record(at);
    }
    return quality.ErrorLevel(at + static_cast<Micros>(quietAfterMs * 1000));
}

std::vector<double> OneGapASecond() {
    std::vector<double> intervals(90, 10);
    intervals.push_back(105);
    return intervals;
}

struct Case {
    const char* name;
    std::vector<double> intervalsMs;
    double quietAfterMs;
    int level;
};

TEST(PresenceQuality, LevelFollowsJitterGapsAndSilence) {
    const Case cases[] = {
        {"steady 10 ms", {10}, 1, 0},       {"steady 30 ms", {30}, 1, 0},
        {"1 ms wobble", {10, 11}, 1, 0},    {"3 ms wobble", {10, 13}, 1, 1},
        {"5 ms wobble", {10, 15}, 1, 2},    {"10 ms wobble", {10, 20}, 1, 3},
        {"20 ms wobble", {10, 30}, 1, 4},   {"one 105 ms gap a second", OneGapASecond(), 1, 3},
        {"quiet for 260 ms", {10}, 260, 4}, {"quiet for 240 ms", {10}, 240, 3},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(LevelFor(test.intervalsMs, test.quietAfterMs), test.level);
    }
}

TEST(PresenceQuality, TooFewDatagramsGiveTheWorstLevel) {
    PresenceQuality quality;
    EXPECT_EQ(quality.ErrorLevel(0), 4);
    for (Micros at = 0; at <= 90'000; at += 30'000) {
        quality.Record(at); // 4 arrivals, 3 intervals
    }
    EXPECT_EQ(quality.ErrorLevel(91'000), 4);
    quality.Record(120'000);
    EXPECT_EQ(quality.ErrorLevel(121'000), 0);
}

// The client paces itself by the level we send; a change of pace must not read as jitter, or the level
// would keep pushing the pace around.
TEST(PresenceQuality, AChangeOfPaceIsNotJitter) {
    PresenceQuality quality;
    Micros at = 0;
    for (int i = 0; i < 20; ++i) {
        quality.Record(at += 30'000);
    }
    for (int i = 0; i < 20; ++i) {
        quality.Record(at += 10'000);
        EXPECT_EQ(quality.ErrorLevel(at + 1000), 0) << "after " << i + 1 << " datagrams at the new pace";
    }
}

TEST(PresenceQuality, OldHistoryLeavesTheWindow) {
    PresenceQuality quality;
    Micros at = 0;
    for (int i = 0; i < 50; ++i) {
        quality.Record(at += (i % 2 == 0) ? 10'000 : 40'000); // heavy jitter
    }
    EXPECT_EQ(quality.ErrorLevel(at + 1000), 4);
    for (int i = 0; i < 150; ++i) {
        quality.Record(at += 10'000); // then 1.5 s of steady pace
    }
    EXPECT_EQ(quality.ErrorLevel(at + 1000), 0);
}

} // namespace
} // namespace zelvora::network
