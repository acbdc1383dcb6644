#include "peripherals/accessory_handshake.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {

// The accessory thread, reduced to its hand-shake with shutdown.
void AccessoryThreadBody(AccessoryRunFlags& flags, std::atomic<int>& rounds) {
    if (!BeginAccessoryRun(flags)) {
        return;
    }
    while (AccessoryShouldKeepRunning(flags)) {
        rounds.fetch_add(1);
        std::this_thread::yield();
    }
}

TEST(AccessoryHandshake, StopBeforeTheThreadStartsStillEndsIt) {
    auto flags = std::make_unique<AccessoryRunFlags>();
    RequestAccessoryStop(*flags);
    std::atomic<int> rounds{0};
    std::thread accessory(AccessoryThreadBody, std::ref(*flags), std::ref(rounds));
    accessory.join(); // would hang if the late start overwrote the stop
    EXPECT_EQ(rounds.load(), 0);
    EXPECT_FALSE(flags->serialRunning.load());
}

TEST(AccessoryHandshake, StopWhileRunningEndsTheLoop) {
    auto flags = std::make_unique<AccessoryRunFlags>();
    std::atomic<int> rounds{0};
    std::thread accessory(AccessoryThreadBody, std::ref(*flags), std::ref(rounds));
    while (rounds.load() == 0) {
        std::this_thread::yield();
    }
    EXPECT_TRUE(flags->serialRunning.load());
    RequestAccessoryStop(*flags);
    accessory.join();
    EXPECT_FALSE(flags->serialRunning.load());
}

TEST(AccessoryHandshake, RacingStartAndStopAlwaysEnd) {
    for (int i = 0; i < 200; ++i) {
        auto flags = std::make_unique<AccessoryRunFlags>();
        std::atomic<int> rounds{0};
        std::thread accessory(AccessoryThreadBody, std::ref(*flags), std::ref(rounds));
        RequestAccessoryStop(*flags);
        accessory.join();
        EXPECT_FALSE(flags->serialRunning.load());
    }
}

} // namespace
