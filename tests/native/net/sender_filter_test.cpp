#include "net/sender_filter.h"

#include "udp_peer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SenderFilter, ReadsOnlyPlainDottedDecimalAddresses) {
    EXPECT_EQ(ParseIpv4Address("127.0.0.1"), 0x7F000001u);
    EXPECT_EQ(ParseIpv4Address("203.0.113.10"), 0xCB00710Au);
    EXPECT_EQ(ParseIpv4Address("255.255.255.255"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseIpv4Address("0.0.0.0"), 0u);
    const char* unreadable[] = {"",          "localhost",  "127.0.0",  "127.0.0.1.", "127.0.0.1.5",
                                "256.0.0.1", "1.2.3.1000", "01.2.3.4", "1..2.3",     " 1.2.3.4",
                                "1.2.3.4 ",  "1.2.3.-4",   nullptr};
    for (const char* text : unreadable) {
        EXPECT_EQ(ParseIpv4Address(text), std::nullopt) << (text ? text : "null");
    }
}

TEST(SenderFilter, LoopbackTakesThisMachineOnlyAndOnlyFromTakesOneAddressAtAnyPort) {
    const SenderFilter loopback = SenderFilter::Loopback();
    EXPECT_TRUE(loopback.Accepts({0x7F000001, 5555}));
    EXPECT_TRUE(loopback.Accepts({0x7FFFFFFE, 1}));
    EXPECT_FALSE(loopback.Accepts({0xC0000207, 5555})); // 192.0.2.7
    EXPECT_FALSE(loopback.Accepts({0x80000001, 5555})); // 128.0.0.1
    EXPECT_FALSE(loopback.Accepts({0x7E000001, 5555})); // 126.0.0.1
    EXPECT_FALSE(loopback.Accepts({0, 0}));

    const SenderFilter server = SenderFilter::OnlyFrom("203.0.113.10");
    EXPECT_TRUE(server.Accepts({0xCB00710A, 30000}));
    EXPECT_TRUE(server.Accepts({0xCB00710A, 40123}));
    EXPECT_FALSE(server.Accepts({0xCB00710B, 30000}));
    EXPECT_FALSE(server.Accepts({0x7F000001, 30000}));

    EXPECT_FALSE(SenderFilter::OnlyFrom("127.0.0.1").Accepts({0x7F000002, 30000}));
    EXPECT_FALSE(SenderFilter::OnlyFrom("voice.example.net").Accepts({0, 0}));
    EXPECT_FALSE(SenderFilter::OnlyFrom(nullptr).Accepts({0x7F000001, 30000}));
}

// The POSIX back-end reports who sent each datagram, and the filtered receive skips strangers.
class FilteredReceiveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(socket_, kInvalidSocket);
        ASSERT_TRUE(SetReceiveTimeout(socket_, 1000));
        ASSERT_TRUE(peer_.IsBound() && stranger_.IsBound());
    }
    void TearDown() override { CloseUdpSocket(socket_); }

    int Receive(std::chrono::milliseconds wait) {
        return ReceiveFromAccepted(socket_, SenderFilter::OnlyFrom("127.0.0.47"), buffer_, sizeof buffer_,
                                   std::chrono::steady_clock::now() + wait, dropped_);
    }

    SocketHandle socket_ = OpenUdpSocket(LocalAddress::Any);
    sockaddr_in at_ = LoopbackEndpoint(LocalPort(socket_));
    UdpPeer peer_{"127.0.0.47", 0};
    UdpPeer stranger_{"127.0.0.48", 0};
    std::uint8_t buffer_[16] = {};
    std::atomic<std::uint32_t> dropped_{0};
};

TEST_F(FilteredReceiveTest, StrangersAreDroppedAndCountedAndThePeersDatagramComesThrough) {
    stranger_.SendTo(at_, {'A', 1});
    stranger_.SendTo(at_, {'A', 2});
    peer_.SendTo(at_, {'A', 3, 4});
    ASSERT_EQ(Receive(std::chrono::milliseconds(1000)), 3);
    EXPECT_EQ(Bytes(buffer_, buffer_ + 3), (Bytes{'A', 3, 4}));
    EXPECT_EQ(dropped_, 2u);

    // The back-end itself reports the sender's address and port.
    stranger_.SendTo(at_, {'B'});
    Ipv4Endpoint sender;
    ASSERT_EQ(ReceiveDatagram(socket_, buffer_, sizeof buffer_, sender), 1);
    EXPECT_EQ(sender.address, 0x7F000030u);
    EXPECT_EQ(sender.port, stranger_.Port());
}

TEST_F(FilteredReceiveTest, AStrangerAloneEndsTheWaitAtItsDeadlineWithNothing) {
    stranger_.SendTo(at_, {'A', 1});
    EXPECT_EQ(Receive(std::chrono::milliseconds(50)), kNothingReceived);
    EXPECT_EQ(dropped_, 1u);
    EXPECT_EQ(ReceiveFromAccepted(kInvalidSocket, SenderFilter::Loopback(), buffer_, sizeof buffer_,
                                  std::chrono::steady_clock::now(), dropped_),
              -1);
}

} // namespace
