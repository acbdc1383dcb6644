#include "platform/paint_memo.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

TEST(PaintMemo, DrawsFirstThenOnlyOnChangeOrExposure) {
    PaintMemo<std::tuple<int, std::string>> memo;
    EXPECT_TRUE(memo.ShouldPaint({0, ""}, 0)) << "the first tick draws even inputs equal to the defaults";
    EXPECT_FALSE(memo.ShouldPaint({0, ""}, 0));
    EXPECT_TRUE(memo.ShouldPaint({0, "aide"}, 0));
    EXPECT_FALSE(memo.ShouldPaint({0, "aide"}, 0));
    EXPECT_TRUE(memo.ShouldPaint({0, "aide"}, 1)) << "an exposure may have wiped it";
    EXPECT_FALSE(memo.ShouldPaint({0, "aide"}, 1));
    EXPECT_TRUE(memo.ShouldPaint({3, "aide"}, 1));
    memo.Forget();
    EXPECT_TRUE(memo.ShouldPaint({3, "aide"}, 1)) << "a tick that could not draw is drawn again";
}
