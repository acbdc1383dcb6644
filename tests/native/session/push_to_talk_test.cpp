#include "session/push_to_talk.h"

#include <gtest/gtest.h>

namespace {

TEST(PushToTalk, EitherStateAtTalkMeansTalking) {
    struct Case {
        int keyState, accessoryState;
        bool talking;
    } cases[] = {
        {kPttListen, kPttListen, false},
        {kPttTalk, kPttListen, true},
        {kPttListen, kPttTalk, true},
        {kPttTalk, kPttTalk, true},
    };
    for (const Case& c : cases) {
        PushToTalk ptt;
        ptt.SetKeyState(c.keyState);
        ptt.SetAccessoryState(c.accessoryState);
        EXPECT_EQ(ptt.IsUserTalking(), c.talking) << c.keyState << c.accessoryState;
        EXPECT_EQ(ptt.KeyState(), c.keyState);
        EXPECT_EQ(ptt.AccessoryState(), c.accessoryState);
    }
}

const PushToTalk* gWatched = nullptr;
int gNotices = 0;
bool gTalkingSeen = false;

TEST(PushToTalk, EveryWriteIsAnnouncedOnceMadeAndOutsideTheLock) {
    PushToTalk ptt;
    gWatched = &ptt;
    ptt.SetChangeNotice([] {
        ++gNotices;
        gTalkingSeen = gWatched->IsUserTalking();
    });
    const struct {
        bool key;
        int state;
        bool talking;
    } writes[] = {{true, kPttTalk, true},
                  {false, kPttTalk, true},
                  {true, kPttListen, true},
                  {false, kPttListen, false}};
    int expected = 0;
    for (const auto& write : writes) {
        write.key ? ptt.SetKeyState(write.state) : ptt.SetAccessoryState(write.state);
        EXPECT_EQ(gNotices, ++expected);
        EXPECT_EQ(gTalkingSeen, write.talking) << expected;
    }
}

} // namespace
