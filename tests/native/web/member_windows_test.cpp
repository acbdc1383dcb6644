#include "web/member_grids.h"
#include "web/member_walk.h"
#include "web/opening_frames.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

namespace {

TEST(MemberGrids, PlaceSlotsCellsAndMarkersAndRefuseOutsiders) {
    EXPECT_EQ(GroupSlot(GroupRowTop(2), 0), (Rect{20, 61, 53, 102}));
    EXPECT_EQ(GroupSlot(GroupRowTop(10), 15), (Rect{590, 469, 623, 510}));
    EXPECT_EQ(NetworkCell(3), (Rect{223, 10, 289, 93})); // the last column before the walk wraps
    EXPECT_EQ(NetworkCell(4), (Rect{10, 98, 76, 181}));
    EXPECT_EQ(NetworkCell(15), (Rect{223, 274, 289, 357}));
    EXPECT_EQ(GroupSlot(10, 16), std::nullopt);
    EXPECT_EQ(NetworkCell(-1), std::nullopt);
    // Row 1's marker at y = 21 erases row 10's at y = 480; row 1 comes again after row 10.
    RotatingRow rotating;
    EXPECT_EQ(RowMarker(rotating.Current(), 666), (Rect{631, 21, 641, 31}));
    EXPECT_EQ(RowMarker(rotating.Previous(), 666).top, 480);
    for (int tick = 0; tick < 10; ++tick) {
        rotating.Advance();
    }
    EXPECT_EQ(rotating.Current(), 1);
    // (pictures placed, members listed) -> the green cells.
    EXPECT_EQ(EmptyCells(3, 3), (CellRange{3, 16}));
    EXPECT_EQ(EmptyCells(2, 3), (CellRange{2, 15}));    // a member without a picture: one cell fewer
    EXPECT_EQ(EmptyCells(16, 40), (CellRange{16, 16})); // a hostile count is a full grid
    EXPECT_EQ(EmptyCells(0, -5), (CellRange{0, 16}));   // and a negative one an empty grid
    EXPECT_EQ(EmptyCells(5, 2), (CellRange{5, 16}));    // the list shrank during the pass
}

TEST(MemberWalk, PlacesMembersWithAPictureInTurnAndBoundsTheCount) {
    MemberList list;
    for (int m = 0; m < kMaxChannelMembers; ++m) {
        list.accounts[static_cast<std::size_t>(m)] = 101 + m;
    }
    // (members listed, members placed); 102 has no picture.
    const std::pair<int, std::vector<int>> cases[] = {{2, {101}}, {4, {101, 103, 104}}, {0, {}}, {-1, {}}};
    for (const auto& [count, expected] : cases) {
        list.count = count;
        std::vector<int> placed;
        const int used = WalkChannelMembers(list, [&](int account, int place) {
            EXPECT_EQ(place, static_cast<int>(placed.size()));
            if (account == 102) {
                return false;
            }
            placed.push_back(account);
            return true;
        });
        EXPECT_EQ(placed, expected) << count;
        EXPECT_EQ(used, static_cast<int>(expected.size())) << count;
    }
    list.count = 200;
    EXPECT_EQ(WalkChannelMembers(list, [](int, int place) { return place < kMaxChannelMembers; }), 16);
}

TEST(OpeningFrames, RiseThenGrowToEachWindowsSize) {
    const std::vector<WindowFrame> rise = RiseFrames(Point{300, 335});
    ASSERT_EQ(rise.size(), 11u);
    EXPECT_EQ(rise.back(), (WindowFrame{350, 135, 200, 200}));
    const Rect risen{350, 135, 550, 335};
    const std::vector<WindowFrame> group = GrowFrames(risen, kGroupListGrowth);
    ASSERT_EQ(group.size(), 61u);
    EXPECT_EQ(group.back(), (WindowFrame{350, 135, 666, 650}));
    const std::vector<WindowFrame> network = GrowFrames(risen, kNetworkGrowth);
    ASSERT_EQ(network.size(), 27u);
    EXPECT_EQ(network.back(), (WindowFrame{350, 135, 315, 460}));

    // The network grid is drawn by a tick only when the count changed, and by the first tick after opening.
    GridRedrawMemo memo;
    memo.NoteTickDrew(3);
    EXPECT_FALSE(memo.TickDraws(3));
    EXPECT_TRUE(memo.TickDraws(4));
    memo.Forget();
    EXPECT_TRUE(memo.TickDraws(3));
}

} // namespace
