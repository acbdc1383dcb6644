#include "platform/stop_signal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using std::chrono::steady_clock;

// A stopping thread must not sleep out its pause: asked from another thread, a minute's pause ends at once.
TEST(StopSignal, AskedStopCutsAPauseShortAndStaysAsked) {
    StopSignal stop;
    EXPECT_TRUE(stop.Running());
    const auto start = steady_clock::now();
    std::thread pausing([&stop] { stop.PauseMs(60000); });
    stop.Request();
    pausing.join();
    EXPECT_LT(steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_FALSE(stop.Running());
    stop.PauseMs(60000); // asked before the pause: none is taken
    EXPECT_LT(steady_clock::now() - start, std::chrono::seconds(30));
}

} // namespace
