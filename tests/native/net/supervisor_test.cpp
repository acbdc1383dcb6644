#include "net/supervisor.h"

#include "platform/stop_signal.h"

#include "voice_network_fixture.h"

#include <array>
#include <memory>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr char kServer[] = "127.0.0.42";

class SupervisorTest : public VoiceNetworkTest {
  protected:
    SupervisorTest() : VoiceNetworkTest(kServer) {
        for (int k = 0; k < kChannelCount; ++k) {
            supervisorPorts_[k] = std::make_unique<UdpPeer>(kServer, 31000 + k);
        }
    }

    void SetUp() override {
        VoiceNetworkTest::SetUp();
        for (const auto& port : supervisorPorts_) {
            ASSERT_TRUE(port->IsBound());
        }
    }

    // One cycle, the supervisor having answered `reply` (nothing when empty) before the client polls.
    void Cycle(const Bytes& reply = {}) {
        if (!reply.empty()) {
            supervisorPorts_[0]->SendTo(supervisorClient_, reply);
        }
        RunSupervisorCycle(
            *link_, *shared_, kServer, state_, kShortTiming,
            [this](SupervisorNotice notice) { notices_.push_back(notice); }, stop_);
    }

    // The supervisor ports that received a request since the last call, in port order, and the requests.
    std::vector<std::pair<int, Bytes>> Requests() {
        std::vector<std::pair<int, Bytes>> requests;
        for (int k = 0; k < kChannelCount; ++k) {
            for (auto d = supervisorPorts_[k]->Receive(0); d.received; d = supervisorPorts_[k]->Receive(0)) {
                requests.emplace_back(31000 + k, d.bytes);
            }
        }
        return requests;
    }

    int Members(int channel, int index) const {
        return shared_->channelMembers.Snapshot(channel).accounts[static_cast<std::size_t>(index)];
    }
    int Count(int channel) const { return shared_->channelMembers.Snapshot(channel).count; }
    int CurrentCount() const { return shared_->channelMembers.CurrentChannelCount(); }

    static constexpr SupervisorTiming kShortTiming{0, 50, 0, 0};
    std::array<std::unique_ptr<UdpPeer>, kChannelCount> supervisorPorts_;
    SupervisorCycleState state_;
    StopSignal stop_;
    std::vector<SupervisorNotice> notices_;
};

TEST_F(SupervisorTest, ListPhasesAskForTheCurrentChannelAndEachOtherInTurn) {
    shared_->channelPort = 30004;
    link_->relayByte = -2;
    std::vector<int> polled;
    for (int cycle = 0; cycle < 24; ++cycle) {
        Cycle();
        const auto requests = Requests();
        if (cycle % 2 == 1) {
            ASSERT_EQ(requests.size(), 1u);
            EXPECT_EQ(requests[0], std::make_pair(31004, Bytes{'A', 0x01, 0xFE})) << "status request";
            continue;
        }
        // The current channel's request, and the polled one (both to port 31004 when they coincide).
        ASSERT_EQ(requests.size(), 2u) << cycle;
        for (const auto& [port, bytes] : requests) {
            EXPECT_EQ(bytes, (Bytes{'L', 0, 0}));
        }
        polled.push_back(requests[0].first == 31004 ? requests[1].first - 31000 : requests[0].first - 31000);
    }
    EXPECT_EQ(polled, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0}));
}

TEST_F(SupervisorTest, ListRepliesFillTheMemberTable) {
    shared_->channelPort = 30003;
    Cycle({'L', 3, 4, 1, 0, 2, 0, 3, 0, 0x34, 0x12});
    EXPECT_EQ(Count(3), 4);
    EXPECT_EQ(CurrentCount(), 4);
    EXPECT_EQ(Members(3, 0), 1);
    EXPECT_EQ(Members(3, 3), 0x1234);
    EXPECT_EQ(shared_->lights.svc, kLedGreen);

    Cycle({'L', 5, 1, 9, 0});
    EXPECT_EQ(Count(5), 1);
    EXPECT_EQ(Members(5, 0), 9);
    EXPECT_EQ(CurrentCount(), 4) << "another channel's list leaves the current count alone";
}

TEST_F(SupervisorTest, EveryWaitingReplyIsTakenSoNoneFallBehind) {
    shared_->channelPort = 30003;
    // Both replies of a list phase, and a notice behind them, wait before the client polls.
    supervisorPorts_[0]->SendTo(supervisorClient_, Bytes{'L', 7, 1, 7, 0});
    supervisorPorts_[0]->SendTo(supervisorClient_, Bytes{'A', 0, 240});
    Cycle({'L', 3, 2, 3, 0, 4, 0});
    EXPECT_EQ(Count(7), 1);
    EXPECT_EQ(Count(3), 2);
    EXPECT_EQ(CurrentCount(), 2);
    EXPECT_EQ(notices_, std::vector<SupervisorNotice>{SupervisorNotice::Closing});
    // Nothing is left over for the next cycle.
    Cycle();
    EXPECT_EQ(shared_->lights.svc, kLedRed);
}

TEST_F(SupervisorTest, AFloodOfRepliesCannotHoldTheCycle) {
    for (int i = 0; i < 20; ++i) {
        supervisorPorts_[0]->SendTo(supervisorClient_, Bytes{'L', 1, 1, static_cast<std::uint8_t>(i), 0});
    }
    Cycle();
    EXPECT_EQ(Members(1, 0), 7) << "eight replies taken in the first cycle";
    Cycle();
    EXPECT_EQ(Members(1, 0), 15);
}

TEST_F(SupervisorTest, AShorterListReplacesTheWholeList) {
    Cycle({'L', 2, 5, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0});
    Cycle({'L', 2, 2, 7, 0, 8, 0});
    EXPECT_EQ(Count(2), 2);
    const int members[5] = {Members(2, 0), Members(2, 1), Members(2, 2), Members(2, 3), Members(2, 4)};
    EXPECT_EQ(std::vector<int>(members, members + 5), (std::vector<int>{7, 8, 0, 0, 0}));
    Cycle({'L', 2, 0});
    EXPECT_EQ(Count(2), 0);
    EXPECT_EQ(Members(2, 0), 0);
}

TEST_F(SupervisorTest, RepliesThatDoNotFitTheTableChangeNothing) {
    shared_->channelPort = 30001;
    Cycle({'L', 1, 2, 5, 0, 6, 0});
    const Bytes misfits[] = {
        {'L', 11, 1, 9, 9}, {'L', 0xFF, 1, 9, 9}, {'L', 1, 17, 9, 9}, {'L', 1, 0xFF, 9, 9}, {'Z', 1, 1, 9, 9},
    };
    for (const Bytes& reply : misfits) {
        Cycle(reply);
        EXPECT_EQ(Count(1), 2) << int{reply[1]} << " " << int{reply[2]};
        EXPECT_EQ(CurrentCount(), 2);
        EXPECT_EQ(Members(1, 0), 5);
        EXPECT_EQ(shared_->lights.svc, kLedGreen);
    }
    EXPECT_TRUE(notices_.empty());
}

TEST_F(SupervisorTest, ShortListReplyReadsMissingMembersAsZero) {
    Cycle({'L', 6, 3, 1, 1, 2, 2, 3, 3});
    Cycle({'L', 6, 3, 4, 0}); // three members announced, one received
    EXPECT_EQ(Count(6), 3);
    EXPECT_EQ(Members(6, 0), 4);
    EXPECT_EQ(Members(6, 1), 0);
    EXPECT_EQ(Members(6, 2), 0);
}

TEST_F(SupervisorTest, StatusRepliesActOnlyOnTheTwoNotices) {
    struct Case {
        std::uint8_t code;
        std::vector<SupervisorNotice> notices;
    } cases[] = {
        {220, {SupervisorNotice::UpdateRequired}},
        {240, {SupervisorNotice::Closing}},
        {0, {}},
        {221, {}},
        {255, {}},
    };
    for (const Case& c : cases) {
        notices_.clear();
        Cycle({'A', 0, c.code});
        EXPECT_EQ(notices_, c.notices) << int{c.code};
        EXPECT_EQ(shared_->lights.svc, kLedYellow) << int{c.code};
    }
}

TEST_F(SupervisorTest, NoticesAndListsFromAnybodyButTheServerAreDroppedAndCounted) {
    UdpPeer stranger("127.0.0.46", 31000);
    ASSERT_TRUE(stranger.IsBound());
    stranger.SendTo(supervisorClient_, {'A', 0, 240});
    stranger.SendTo(supervisorClient_, {'L', 0, 1, 9, 9});
    Cycle({'L', 0, 1, 3, 0});
    EXPECT_EQ(link_->droppedSupervisorDatagrams, 2u);
    EXPECT_EQ(notices_, std::vector<SupervisorNotice>{});
    EXPECT_EQ(Count(0), 1);
    EXPECT_EQ(Members(0, 0), 3);
}

TEST_F(SupervisorTest, SilenceTurnsTheLightRedAndKeepsTheLists) {
    Cycle({'L', 0, 1, 3, 0});
    Cycle();
    EXPECT_EQ(shared_->lights.svc, kLedRed);
    EXPECT_EQ(Count(0), 1);
    EXPECT_EQ(Members(0, 0), 3);
}

TEST_F(SupervisorTest, FailedListRequestTurnsTheLightRed) {
    shared_->lights.svc = kLedBlue;
    EXPECT_TRUE(SendListRequest(*link_, *shared_, kServer, 30002));
    EXPECT_EQ(shared_->lights.svc, kLedBlue);
    EXPECT_EQ(Requests(), (std::vector<std::pair<int, Bytes>>{{31002, {'L', 0, 0}}}));

    CloseUdpSocket(link_->supervisorSocket);
    link_->supervisorSocket = kInvalidSocket;
    EXPECT_FALSE(SendListRequest(*link_, *shared_, kServer, 30002));
    EXPECT_EQ(shared_->lights.svc, kLedRed);
}

} // namespace
