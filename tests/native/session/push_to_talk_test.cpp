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

} // namespace
