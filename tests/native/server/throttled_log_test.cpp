#include "core/throttled_log.h"

#include "network_harness.h"

#include <gtest/gtest.h>

namespace zelvora::network::testing {
namespace {

TEST(ThrottledLog, AFloodOfOneKindIsSummedUpOncePerIntervalWhileOtherKindsGetThrough) {
    RecordingLog out;
    Micros now = 0;
    ThrottledLog log(out, [&] { return now; });
    for (int n = 0; n < 100'000; ++n) {
        log.Line("greeting 10.0.0." + std::to_string(n % 250) + ":4000 (voice socket)");
    }
    log.Line("join channel 0 account 7 127.0.0.1:5000");
    log.Summarise(); // within the interval: nothing yet
    now += ThrottledLog::kInterval;
    log.Summarise();
    log.Line("greeting 10.0.0.1:4000 (voice socket)");

    ASSERT_EQ(out.lines.size(), ThrottledLog::kLinesPerInterval + 3);
    EXPECT_EQ(out.lines[ThrottledLog::kLinesPerInterval], "join channel 0 account 7 127.0.0.1:5000");
    EXPECT_EQ(out.lines[ThrottledLog::kLinesPerInterval + 1],
              "(99980 more greeting lines in the last second were not logged)");
    EXPECT_EQ(out.lines.back(), "greeting 10.0.0.1:4000 (voice socket)") << "a new interval, a new allowance";
}

} // namespace
} // namespace zelvora::network::testing
