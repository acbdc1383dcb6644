#include "peripherals/accessory_handshake.h"
#include "session/session_state.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {

// The accessory thread, reduced to its hand-shake with shutdown.
void AccessoryThreadBody(SessionState& session, std::atomic<int>& rounds) {
    if (!BeginAccessoryRun(session)) {
        return;
    }
    while (AccessoryShouldKeepRunning(session)) {
        rounds.fetch_add(1);
        std::this_thread::yield();
    }
}

TEST(AccessoryHandshake, StopBeforeTheThreadStartsStillEndsIt) {
    auto session = std::make_unique<SessionState>();
    RequestAccessoryStop(*session);
    std::atomic<int> rounds{0};
    std::thread accessory(AccessoryThreadBody, std::ref(*session), std::ref(rounds));
    accessory.join(); // would hang if the late start overwrote the stop
    EXPECT_EQ(rounds.load(), 0);
    EXPECT_FALSE(session->serialRunning.load());
}

TEST(AccessoryHandshake, StopWhileRunningEndsTheLoop) {
    auto session = std::make_unique<SessionState>();
    std::atomic<int> rounds{0};
    std::thread accessory(AccessoryThreadBody, std::ref(*session), std::ref(rounds));
    while (rounds.load() == 0) {
        std::this_thread::yield();
    }
    EXPECT_TRUE(session->serialRunning.load());
    RequestAccessoryStop(*session);
    accessory.join();
    EXPECT_FALSE(session->serialRunning.load());
}

TEST(AccessoryHandshake, RacingStartAndStopAlwaysEnd) {
    for (int i = 0; i < 200; ++i) {
        auto session = std::make_unique<SessionState>();
        std::atomic<int> rounds{0};
        std::thread accessory(AccessoryThreadBody, std::ref(*session), std::ref(rounds));
        RequestAccessoryStop(*session);
        accessory.join();
        EXPECT_FALSE(session->serialRunning.load());
    }
}

} // namespace
