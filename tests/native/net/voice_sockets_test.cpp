#include "net/presence_loop.h"
#include "net/voice_sockets.h"

#include "net/datagrams.h"
#include "voice_network_fixture.h"

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class VoiceSocketsTest : public VoiceNetworkTest {
  protected:
    VoiceSocketsTest() : VoiceNetworkTest("127.0.0.43") {}
};

TEST_F(VoiceSocketsTest, BothSocketsGreetTheVoicePortAndLightYellow) {
    // SetUp has received one greeting from each socket; here their bytes and sources are checked.
    UdpPeer again("127.0.0.43", 30001);
    auto link = std::make_unique<VoiceLink>();
    auto shared = std::make_unique<SharedState>();
    shared->channelPort = 30001;
    ASSERT_EQ(OpenVoiceSockets(*link, *shared, "127.0.0.43"), 0);
    const Bytes tag = {'T', '.', 'W', 'I', 'N', 0, 0, 0, 0};
    Bytes twice = tag;
    twice.insert(twice.end(), tag.begin(), tag.end());
    const UdpPeer::Datagram first = again.Receive();
    const UdpPeer::Datagram second = again.Receive();
    EXPECT_EQ(first.bytes, tag);
    EXPECT_EQ(second.bytes, twice);
    EXPECT_EQ(ntohs(first.from.sin_port), LocalPort(link->voiceSocket));
    EXPECT_EQ(ntohs(second.from.sin_port), LocalPort(link->supervisorSocket));
    EXPECT_EQ(shared->lights.udp, kLedYellow);
    EXPECT_EQ(shared->lights.svc, kLedYellow);
    CloseUdpSocket(link->voiceSocket);
    CloseUdpSocket(link->supervisorSocket);
}

TEST_F(VoiceSocketsTest, PresenceBodiesComeNameDeviceVersionWithTheAccount) {
    shared_->accountNumber = 0x1234;
    std::memcpy(shared_->pcIdentifier, "0000004294967295", 17);
    std::vector<std::uint8_t> bodies;
    std::vector<std::size_t> lengths;
    int phase = 0;
    for (int i = 0; i < 6; ++i) {
        SendPresence(*link_, *shared_, phase, serverAddress_);
        const UdpPeer::Datagram presence = voicePort_.Receive();
        ASSERT_TRUE(presence.received);
        ASSERT_GE(presence.bytes.size(), 10u);
        EXPECT_EQ(presence.bytes[3], 0x34);
        EXPECT_EQ(presence.bytes[4], 0x12);
        EXPECT_EQ(presence.from.sin_port, voiceClient_.sin_port);
        bodies.push_back(presence.bytes[9]);
        lengths.push_back(presence.bytes.size());
    }
    EXPECT_EQ(bodies, (Bytes{'N', 'D', 'V', 'N', 'D', 'V'}));
    EXPECT_EQ(lengths, (std::vector<std::size_t>{26, 27, 14, 26, 27, 14}));
}

TEST_F(VoiceSocketsTest, DatagramsFollowAChannelChangeAtTheirNextSend) {
    UdpPeer channel3("127.0.0.43", 30003);
    ASSERT_TRUE(channel3.IsBound());
    shared_->channelPort = 30003;
    int phase = 0;
    SendPresence(*link_, *shared_, phase, serverAddress_);
    const std::uint8_t block[kAudioPayloadBytes] = {};
    std::uint8_t sequence = 1;
    SendAudioDatagram(*link_, *shared_, sequence, serverAddress_, block);
    EXPECT_EQ(channel3.Receive().bytes.size(), 26u);
    EXPECT_EQ(channel3.Receive().bytes.size(), 1024u);
    EXPECT_FALSE(voicePort_.Receive(50).received);
}

TEST_F(VoiceSocketsTest, AudioDatagramsCarryTheBlockAndASequenceThatSkipsZero) {
    shared_->accountNumber = 0x1234;
    std::uint8_t sequence = 254;
    std::uint8_t block[kAudioPayloadBytes];
    for (std::size_t i = 0; i < sizeof block; ++i) {
        block[i] = static_cast<std::uint8_t>(i);
    }
    Bytes sequences;
    for (int i = 0; i < 3; ++i) {
        SendAudioDatagram(*link_, *shared_, sequence, serverAddress_, block);
        const UdpPeer::Datagram audio = voicePort_.Receive();
        ASSERT_EQ(audio.bytes.size(), 1024u);
        EXPECT_EQ(audio.bytes[0], 'A');
        EXPECT_EQ(audio.bytes[3], 0x34);
        EXPECT_EQ(audio.bytes[4], 0x12);
        EXPECT_EQ(Bytes(audio.bytes.begin() + 24, audio.bytes.end()), Bytes(block, block + 1000));
        sequences.push_back(audio.bytes[1]);
    }
    EXPECT_EQ(sequences, (Bytes{254, 255, 1}));
}

TEST(PresencePause, FollowsTheErrorLevel) {
    const std::pair<int, int> table[] = {{0, 10}, {1, 15},  {2, 20},  {3, 25},
                                         {4, 30}, {99, 30}, {-1, 30}, {5, 30}};
    for (auto [errorLevel, pauseMs] : table) {
        EXPECT_EQ(PresencePauseMs(errorLevel), pauseMs) << errorLevel;
    }
}

} // namespace
