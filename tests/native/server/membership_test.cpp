#include "network_harness.h"

#include <gtest/gtest.h>

namespace zelvora::network::testing {
namespace {

using Accounts = std::vector<std::uint16_t>;

TEST(Membership, PresenceJoinsTheChannelOfThePortItReached) {
    Harness h;
    h.Presence(3, Client(1), 1001);
    h.Presence(3, Client(2), 1002);
    h.Presence(5, Client(3), 1003);
    h.Presence(3, Client(1), 1001); // again: no second entry
    EXPECT_EQ(h.ListedAccounts(3), (Accounts{1001, 1002}));
    EXPECT_EQ(h.ListedAccounts(5), (Accounts{1003}));
    EXPECT_EQ(h.ListedAccounts(0), Accounts{});
    EXPECT_TRUE(h.log.Contains("join channel 3 account 1001 127.0.0.1:50001"));
}

TEST(Membership, MembersAreKeyedBySourcePortNotAccount) {
    Harness h;
    h.Presence(0, Client(1), 7);
    h.Presence(0, Client(2), 7);
    EXPECT_EQ(h.ListedAccounts(0), (Accounts{7, 7}));
}

TEST(Membership, AccountFollowsTheLatestPresence) {
    Harness h;
    h.Presence(0, Client(1), 0); // before the client knows its account
    h.Presence(0, Client(1), 4321);
    EXPECT_EQ(h.ListedAccounts(0), (Accounts{4321}));
}

TEST(Membership, PresenceOnAnotherPortMovesTheMemberToTheBackOfThatChannel) {
    Harness h;
    h.Presence(4, Client(2), 2);
    h.Presence(3, Client(1), 1);
    h.Presence(3, Client(3), 3);
    h.Presence(4, Client(1), 1);
    EXPECT_EQ(h.ListedAccounts(3), (Accounts{3}));
    EXPECT_EQ(h.ListedAccounts(4), (Accounts{2, 1}));
    EXPECT_TRUE(h.log.Contains("leave channel 3 account 1 127.0.0.1:50001 (moved to channel 4)"));
    EXPECT_TRUE(h.log.Contains("join channel 4 account 1 127.0.0.1:50001"));
}

TEST(Membership, SilentMembersLeaveAfterThreeSeconds) {
    Harness h;
    h.Presence(2, Client(1), 1);
    h.Presence(2, Client(2), 2);
    const Micros joined = h.now;
    while (h.now - joined < 2'950'000) {
        h.Tick({{2, Client(2)}}); // only client 2 keeps talking to us
    }
    EXPECT_EQ(h.ListedAccounts(2).size(), 2u);
    h.Tick({{2, Client(2)}});
    h.Tick({{2, Client(2)}});
    EXPECT_EQ(h.ListedAccounts(2), (Accounts{50002}));
    EXPECT_TRUE(h.log.Contains("leave channel 2 account 1 127.0.0.1:50001 (silent)"));

    h.outbox.sent.clear();
    h.Tick({{2, Client(2)}});
    EXPECT_TRUE(h.outbox.To(Client(1)).empty());
}

TEST(Membership, CapsRefuseNewcomersButKeepMembers) {
    NetworkSettings settings;
    settings.maxMembers = 3;
    settings.maxMembersPerChannel = 2;
    Harness h(settings);
    h.Presence(0, Client(1), 1);
    h.Presence(0, Client(2), 2);
    h.Presence(0, Client(3), 3); // channel full
    h.Presence(1, Client(4), 4);
    h.Presence(1, Client(5), 5); // network full
    h.Presence(1, Client(1), 1); // a member may still move where there is room
    EXPECT_EQ(h.ListedAccounts(0), (Accounts{2}));
    EXPECT_EQ(h.ListedAccounts(1), (Accounts{4, 1}));
    h.Presence(1, Client(2), 2); // channel 1 is now full: client 2 stays on channel 0
    EXPECT_EQ(h.ListedAccounts(0), (Accounts{2}));
    EXPECT_NE(h.network.AddSimulated(0, 9), "");
    EXPECT_EQ(h.network.counters().membersFull, 4u);
}

TEST(Membership, EveryClientOfOneAddressGetsItsOwnRelayByte) {
    Harness h;
    for (int n = 1; n <= 5; ++n) {
        h.Presence(n % 2, Client(n), static_cast<std::uint16_t>(n));
    }
    Endpoint elsewhere = Client(1);
    elsewhere.address = 0x0A000001;
    h.Presence(0, elsewhere, 6);
    h.Tick();
    std::vector<std::uint8_t> tags;
    for (int n = 1; n <= 5; ++n) {
        tags.push_back(h.outbox.To(Client(n)).at(0).bytes[2]);
    }
    EXPECT_EQ(tags, (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(h.outbox.To(elsewhere).at(0).bytes[2], 1); // another address may reuse a byte
}

TEST(Membership, ARelayByteIsReusedOnlyAfterItsOwnerLeft) {
    NetworkSettings settings;
    settings.leaveAfter = 100'000;
    Harness h(settings);
    h.Presence(0, Client(1), 1);
    h.Presence(0, Client(2), 2);
    for (int i = 0; i < 4; ++i) {
        h.Tick({{0, Client(2)}}); // client 1 goes silent and leaves
    }
    h.Presence(0, Client(3), 3);
    h.outbox.sent.clear();
    h.Tick({{0, Client(2)}, {0, Client(3)}});
    EXPECT_EQ(h.outbox.To(Client(2)).at(0).bytes[2], 2);
    EXPECT_EQ(h.outbox.To(Client(3)).at(0).bytes[2], 1);
}

} // namespace
} // namespace zelvora::network::testing
