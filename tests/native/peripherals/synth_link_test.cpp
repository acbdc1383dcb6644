#include "peripherals/synth_link.h"

#include "session/push_to_talk.h"
#include "platform/udp_socket.h"
#include "peripherals/synth_key_listener.h"
#include "udp_peer.h"

#include <gtest/gtest.h>

#include <sys/socket.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Plays the companion synthesiser at its fixed address; this test runs alone or in a network namespace.
class SynthLinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!synthesiser_.IsBound()) {
            GTEST_SKIP() << "127.0.0.1:5555 is taken by another program";
        }
        ASSERT_TRUE(OpenSynthSocketAndGreet(*link_));
    }
    void TearDown() override { CloseUdpSocket(link_->synthSocket); }

    std::unique_ptr<SynthLink> link_ = std::make_unique<SynthLink>();
    PushToTalk pushToTalk_;
    UdpPeer synthesiser_{"127.0.0.1", 5555};
};

TEST_F(SynthLinkTest, GreetsWithTheSixtySixByteWelcome) {
    const UdpPeer::Datagram greeting = synthesiser_.Receive();
    ASSERT_EQ(greeting.bytes.size(), 67u);
    EXPECT_EQ(greeting.bytes[0], 0x01);
    const std::string text(greeting.bytes.begin() + 1, greeting.bytes.end());
    EXPECT_EQ(text, "Bonjour. Le synth\xE9tiseur est actif. Sur la cl\xE9 droite de la souris");
    EXPECT_EQ(ntohs(greeting.from.sin_port), LocalPort(link_->synthSocket));
    sockaddr_in local{};
    socklen_t size = sizeof local;
    ASSERT_EQ(getsockname(static_cast<int>(link_->synthSocket), reinterpret_cast<sockaddr*>(&local), &size),
              0);
    EXPECT_EQ(ntohl(local.sin_addr.s_addr), INADDR_LOOPBACK) << "bound out of other hosts' reach";
}

TEST_F(SynthLinkTest, SpeechTextsAreCutAt200BytesAndStopIsOneByte) {
    synthesiser_.Drain();
    const std::string long250(250, 'a');
    struct Case {
        const char* text;
        std::size_t length;
    } cases[] = {{long250.c_str(), 201}, {"", 1}, {"Canal 3", 8}};
    for (const Case& c : cases) {
        SendSpeechText(*link_, c.text);
        const Bytes sent = synthesiser_.Receive().bytes;
        ASSERT_EQ(sent.size(), c.length);
        EXPECT_EQ(sent[0], 0x01);
        EXPECT_EQ(std::memcmp(sent.data() + 1, c.text, c.length - 1), 0);
    }
    SendSynthStop(*link_);
    EXPECT_EQ(synthesiser_.Receive().bytes, Bytes{0xFF});
}

TEST_F(SynthLinkTest, SynthesiserPressesTheTalkKeyByAnsweringTheGreeting) {
    const UdpPeer::Datagram greeting = synthesiser_.Receive();
    ASSERT_TRUE(greeting.received);
    synthesiser_.SendTo(greeting.from, {'T'});
    ListenForSynthKeyOnce(*link_, pushToTalk_, 200);
    EXPECT_EQ(pushToTalk_.KeyState(), kPttTalk);
    // Nothing more comes: the socket's receive time-out ends the round.
    ListenForSynthKeyOnce(*link_, pushToTalk_, 0);
    EXPECT_EQ(pushToTalk_.KeyState(), kPttTalk);
}

} // namespace
