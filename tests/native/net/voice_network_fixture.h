#pragma once

#include "net/voice_link.h"
#include "net/voice_sockets.h"
#include "platform/udp_socket.h"
#include "session/shared_state.h"
#include "udp_peer.h"

#include <gtest/gtest.h>

#include <memory>

// A client session whose voice server is a test peer on a loopback address of its own, at the start channel
// port. The greetings tell the peer where the client's two sockets are.
class VoiceNetworkTest : public ::testing::Test {
  protected:
    explicit VoiceNetworkTest(const char* serverAddress)
        : serverAddress_(serverAddress), voicePort_(serverAddress, kFirstChannelPort) {}

    void SetUp() override {
        ASSERT_TRUE(voicePort_.IsBound()) << "voice port of the test server is taken";
        ASSERT_EQ(OpenVoiceSockets(*link_, *shared_, serverAddress_), 0);
        for (int i = 0; i < 2; ++i) {
            const UdpPeer::Datagram greeting = voicePort_.Receive();
            ASSERT_TRUE(greeting.received);
            (greeting.bytes.size() == kGreetingBytes ? voiceClient_ : supervisorClient_) = greeting.from;
        }
    }

    void TearDown() override {
        CloseUdpSocket(link_->voiceSocket);
        CloseUdpSocket(link_->supervisorSocket);
    }

    const char* serverAddress_;
    std::unique_ptr<VoiceLink> link_ = std::make_unique<VoiceLink>();
    std::unique_ptr<SharedState> shared_ = std::make_unique<SharedState>();
    UdpPeer voicePort_;
    sockaddr_in voiceClient_{};
    sockaddr_in supervisorClient_{};
};
