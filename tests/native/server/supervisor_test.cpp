#include "network_harness.h"

#include <gtest/gtest.h>

namespace zelvora::network::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The status reply's code for a status request carrying relayByte from the given supervisor socket.
std::uint8_t StatusCode(Harness& h, Endpoint supervisorSocket, std::uint8_t relayByte, int channel = 0) {
    h.outbox.sent.clear();
    h.Supervisor(channel, supervisorSocket, {'A', 0x01, relayByte});
    const SentDatagram& reply = h.outbox.sent.at(0);
    EXPECT_EQ(reply.kind, PortKind::Supervisor);
    EXPECT_EQ(reply.channel, channel);
    EXPECT_EQ(reply.to, supervisorSocket);
    EXPECT_EQ(reply.bytes.size(), 3u);
    EXPECT_EQ(reply.bytes[0], 'A');
    EXPECT_EQ(reply.bytes[1], 0);
    return reply.bytes[2];
}

// A client's supervisor socket: same address as its voice socket, another port.
Endpoint SupervisorSocketOf(Endpoint voice) {
    return {voice.address, static_cast<std::uint16_t>(voice.port + 1000)};
}

TEST(ListReply, SentBackToTheRequesterFromThePortItAsked) {
    Harness h;
    h.Presence(6, Client(1), 0x0102);
    h.Supervisor(6, Client(7), {'L', 0, 0});
    ASSERT_EQ(h.outbox.sent.size(), 1u);
    EXPECT_EQ(h.outbox.sent[0].kind, PortKind::Supervisor);
    EXPECT_EQ(h.outbox.sent[0].channel, 6);
    EXPECT_EQ(h.outbox.sent[0].to, Client(7));
    EXPECT_EQ(h.outbox.sent[0].bytes, (Bytes{'L', 6, 1, 0x02, 0x01}));
}

TEST(ListReply, ListsTheFirstSixteenInArrivalOrderWithSimulatedMembers) {
    Harness h;
    std::vector<std::uint16_t> expected;
    for (int n = 1; n <= 20; ++n) {
        const auto account = static_cast<std::uint16_t>(100 + n);
        if (n == 3) {
            ASSERT_EQ(h.network.AddSimulated(8, account), "");
        } else {
            h.Presence(8, Client(n), account);
        }
        if (n <= 16) {
            expected.push_back(account);
        }
    }
    EXPECT_EQ(h.ListedAccounts(8), expected);
    EXPECT_EQ(h.outbox.sent[0].bytes[2], 16);
}

TEST(StatusReply, IsZeroWithoutANotice) {
    Harness h;
    h.Presence(0, Client(1), 5);
    EXPECT_EQ(StatusCode(h, SupervisorSocketOf(Client(1)), 1), 0);
    EXPECT_EQ(StatusCode(h, SupervisorSocketOf(Client(1)), 0), 0);
}

TEST(Notices, ReachTheTargetedAccountOnceThroughItsRelayByte) {
    Harness h;
    h.Presence(0, Client(1), 11); // relay byte 1
    h.Presence(3, Client(2), 22); // relay byte 2
    EXPECT_EQ(h.network.PostNotice(kNoticeClosing, 22), 1u);

    EXPECT_EQ(StatusCode(h, SupervisorSocketOf(Client(1)), 1), 0) << "another client";
    Endpoint otherHost = SupervisorSocketOf(Client(2));
    otherHost.address = 0x0A000002;
    EXPECT_EQ(StatusCode(h, otherHost, 2), 0) << "same relay byte from another address";
    EXPECT_EQ(StatusCode(h, SupervisorSocketOf(Client(2)), 2, 3), kNoticeClosing);
    EXPECT_EQ(StatusCode(h, SupervisorSocketOf(Client(2)), 2, 3), 0) << "only once";
    EXPECT_EQ(h.network.counters().noticesDelivered, 1u);
    EXPECT_TRUE(h.log.Contains("notice 240 delivered to channel 3 account 22"));
}

TEST(Notices, ToAllReachEveryClientPresentAndNoLaterOne) {
    Harness h;
    h.Presence(0, Client(1), 11);
    h.Presence(1, Client(2), 22);
    ASSERT_EQ(h.network.AddSimulated(1, 33), "");
    EXPECT_EQ(h.network.PostNotice(kNoticeUpdateRequired, std::nullopt), 2u)
        << "simulated members have no socket";
    h.Presence(2, Client(3), 44); // joins afterwards
    EXPECT_EQ(StatusCode(h, SupervisorSocketOf(Client(3)), 3), 0);
    EXPECT_EQ(StatusCode(h, SupervisorSocketOf(Client(2)), 2), kNoticeUpdateRequired);
    EXPECT_EQ(StatusCode(h, SupervisorSocketOf(Client(1)), 1), kNoticeUpdateRequired);
    EXPECT_EQ(StatusCode(h, SupervisorSocketOf(Client(1)), 1), 0);
}

TEST(Notices, NoClientWithTheAccountTargetsNobody) {
    Harness h;
    h.Presence(0, Client(1), 11);
    EXPECT_EQ(h.network.PostNotice(kNoticeClosing, 99), 0u);
    EXPECT_EQ(StatusCode(h, SupervisorSocketOf(Client(1)), 1), 0);
}

TEST(Notices, AClientThatLeftTakesItsNoticeWithIt) {
    NetworkSettings settings;
    settings.leaveAfter = 100'000;
    Harness h(settings);
    h.Presence(0, Client(1), 11);
    h.network.PostNotice(kNoticeClosing, 11);
    for (int i = 0; i < 4; ++i) {
        h.Tick();
    }
    h.Presence(0, Client(2), 22); // inherits relay byte 1
    EXPECT_EQ(StatusCode(h, SupervisorSocketOf(Client(2)), 1), 0);
}

struct MalformedCase {
    const char* name;
    bool supervisorPort;
    int channel;
    Bytes bytes;
    std::uint64_t Counters::*counter;
};

TEST(MalformedDatagrams, AreDroppedAndCountedWithoutTouchingState) {
    Bytes longAudio = AudioDatagram(5, 1, 1);
    longAudio.push_back(0);
    const MalformedCase cases[] = {
        {"voice: empty", false, 0, {}, &Counters::wrongSize},
        {"voice: truncated presence", false, 0, {'R', '.', 0, 5, 0}, &Counters::wrongSize},
        {"voice: audio of 1025 bytes", false, 0, longAudio, &Counters::wrongSize},
        {"voice: unknown kind",
         false,
         0,
         {'X', '.', 0, 5, 0, 0, 0, 0, 0, 'V', '0', '7', '7', 2},
         &Counters::unknownKind},
        {"voice: body tag against length",
         false,
         0,
         {'R', '.', 0, 5, 0, 0, 0, 0, 0, 'N', '0', '7', '7', 2},
         &Counters::badField},
        {"voice: channel 11", false, 11, PresenceDatagram(5), &Counters::badChannel},
        {"voice: channel -1", false, -1, PresenceDatagram(5), &Counters::badChannel},
        {"supervisor: unknown kind", true, 0, {'Q', 0, 0}, &Counters::unknownKind},
        {"supervisor: long list request", true, 0, {'L', 0, 0, 0}, &Counters::wrongSize},
        {"supervisor: status without 0x01", true, 0, {'A', 0, 1}, &Counters::badField},
        {"supervisor: channel 11", true, 11, {'L', 0, 0}, &Counters::badChannel},
    };
    for (const MalformedCase& test : cases) {
        SCOPED_TRACE(test.name);
        Harness h;
        if (test.supervisorPort) {
            h.Supervisor(test.channel, Client(1), test.bytes);
        } else {
            h.network.OnVoiceDatagram(test.channel, Client(1), test.bytes, h.now, h.outbox);
        }
        EXPECT_EQ(h.network.counters().*test.counter, 1u);
        EXPECT_TRUE(h.outbox.sent.empty());
        EXPECT_EQ(h.network.Members(h.now).size(), 0u);
        EXPECT_EQ(h.network.counters().presence + h.network.counters().listRequests, 0u);
    }
}

TEST(Greetings, AreCountedAndLoggedWithTheirSocket) {
    Harness h;
    const Bytes greeting = {'T', '.', 'W', 'I', 'N', 0, 0, 0, 0};
    Bytes doubled = greeting;
    doubled.insert(doubled.end(), greeting.begin(), greeting.end());
    h.network.OnVoiceDatagram(0, Client(1), greeting, h.now, h.outbox);
    h.network.OnVoiceDatagram(0, Client(2), doubled, h.now, h.outbox);
    EXPECT_EQ(h.network.counters().greetings, 2u);
    EXPECT_TRUE(h.log.Contains("greeting 127.0.0.1:50001 (voice socket)"));
    EXPECT_TRUE(h.log.Contains("greeting 127.0.0.1:50002 (supervisor socket)"));
    EXPECT_TRUE(h.network.Members(h.now).empty()) << "a greeting is not presence";
}

} // namespace
} // namespace zelvora::network::testing
