#include "web/watched_exchange.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace {

using Clock = ExchangeWatch::Clock;
using std::chrono::seconds;

const Clock::time_point kStart{};

TEST(ExchangeWatchTest, AFetchEndsAtItsDeadlineHoweverMuchMoves) {
    ExchangeWatch watch = ExchangeWatch::ForFetch(kStart);
    EXPECT_EQ(watch.Left(kStart), kFetchDeadline);
    watch.Moved(kStart + seconds(4));
    EXPECT_EQ(watch.Left(kStart + seconds(4)), kFetchDeadline - seconds(4));
    EXPECT_EQ(watch.Left(kStart + kFetchDeadline), Clock::duration::zero());
    EXPECT_EQ(watch.Left(kStart + kFetchDeadline + seconds(60)), Clock::duration::zero());
}

TEST(ExchangeWatchTest, AnUploadEndsOnlyOnceNothingHasMovedForItsLimit) {
    ExchangeWatch watch = ExchangeWatch::ForUpload(kStart);
    // Eighty seconds of a slow uplink, a move every two seconds.
    for (int second = 2; second <= 80; second += 2) {
        watch.Moved(kStart + seconds(second));
        EXPECT_EQ(watch.Left(kStart + seconds(second) + seconds(1)), kUploadStallLimit - seconds(1));
    }
    EXPECT_EQ(watch.Left(kStart + seconds(80) + kUploadStallLimit), Clock::duration::zero());
    // Nothing moving from the start counts from the start.
    EXPECT_EQ(ExchangeWatch::ForUpload(kStart).Left(kStart + kUploadStallLimit), Clock::duration::zero());
}

// A call that blocks until the test lets it go, and says when it has begun and ended.
struct BlockedCall {
    std::promise<void> begun;
    std::promise<void> release;
    std::promise<void> ended;

    WatchedExchange::Call Make() {
        return [this, go = release.get_future().share()] {
            begun.set_value();
            go.wait();
            ended.set_value();
            return 7u;
        };
    }
};

TEST(WatchedExchangeTest, CallsRunOnTheExchangesThreadAndGiveTheirResults) {
    CutExchanges cut;
    int cancels = 0;
    WatchedExchange exchange(cut, ExchangeWatch::ForFetch(Clock::now()), [&] { ++cancels; });
    ASSERT_TRUE(exchange.Started());
    std::thread::id ranOn;
    EXPECT_EQ(exchange.Run([&] {
        ranOn = std::this_thread::get_id();
        return 0u;
    }),
              0u);
    EXPECT_NE(ranOn, std::this_thread::get_id());
    EXPECT_EQ(exchange.Run([] { return 12002u; }), 12002u);
    EXPECT_FALSE(exchange.WasCut());
    EXPECT_EQ(cancels, 0);
}

TEST(WatchedExchangeTest, ACallPastTheWatchIsCutAndKeepsTheNextExchangesOutUntilItEnds) {
    CutExchanges cut;
    BlockedCall blocked;
    int cancels = 0;
    {
        WatchedExchange exchange(cut, ExchangeWatch::Deadline(Clock::now(), std::chrono::milliseconds(50)),
                                 [&] { ++cancels; });
        // The call never returns by itself: only the watch can give the caller back.
        EXPECT_EQ(exchange.Run(blocked.Make()), std::nullopt);
        EXPECT_TRUE(exchange.WasCut());
        EXPECT_EQ(cancels, 1);
        bool ranAfterCut = false;
        EXPECT_EQ(exchange.Run([&] {
            ranAfterCut = true;
            return 0u;
        }),
                  std::nullopt);
        EXPECT_FALSE(ranAfterCut);
        EXPECT_EQ(cancels, 1);
    }
    EXPECT_TRUE(cut.AnyRunning());
    const WatchedExchange refused(cut, ExchangeWatch::ForFetch(Clock::now()), [] {});
    EXPECT_FALSE(refused.Started());

    blocked.release.set_value();
    blocked.ended.get_future().wait();
    while (cut.AnyRunning()) {
        std::this_thread::yield();
    }
    WatchedExchange next(cut, ExchangeWatch::ForFetch(Clock::now()), [] {});
    ASSERT_TRUE(next.Started());
    EXPECT_EQ(next.Run([] { return 0u; }), 0u);
}

} // namespace
