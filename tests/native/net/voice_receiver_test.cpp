#include "net/voice_receiver.h"

#include "audio/playback_queue.h"
#include "net/datagrams.h"
#include "net/sender_filter.h"
#include "voice_network_fixture.h"

#include <chrono>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kPollMs = 300;

struct Relayed {
    std::uint8_t kind = 'A';
    std::uint8_t sequence = 1;
    std::uint8_t relay = 0;
    std::uint16_t account = 0;
    std::uint8_t errorLevel = 0;
    std::uint8_t flag = kPayloadSpeech;
    std::int16_t sample = 1000; // every sample of the payload
    std::size_t length = kReceiveBufferBytes;

    Bytes Encode() const {
        Bytes bytes(kReceiveBufferBytes, 0);
        bytes[0] = kind;
        bytes[1] = sequence;
        bytes[2] = relay;
        bytes[3] = static_cast<std::uint8_t>(account & 0xFF);
        bytes[4] = static_cast<std::uint8_t>(account >> 8);
        bytes[5] = errorLevel;
        bytes[7] = flag;
        for (std::size_t at = kAudioHeaderBytes; at < bytes.size(); at += 2) {
            bytes[at] = static_cast<std::uint8_t>(sample & 0xFF);
            bytes[at + 1] = static_cast<std::uint8_t>((sample >> 8) & 0xFF);
        }
        bytes.resize(length);
        return bytes;
    }
};

// Sample `index` of the payload queued in slot 5, the first slot after a reset: the next block played
// holds slots 4 to 7.
std::int16_t SampleOfSlot5(PlaybackQueue& queue, int index) {
    std::uint8_t block[kPlaybackBlockBytes];
    queue.TakeNextBlock(block);
    return SampleAt(block + kCaptureBlockBytes, index);
}

class VoiceReceiverTest : public VoiceNetworkTest {
  protected:
    VoiceReceiverTest() : VoiceNetworkTest("127.0.0.41") {}

    void SetUp() override {
        VoiceNetworkTest::SetUp();
        receiver_.Start();
    }

    // The voice server relays one datagram and the receive loop takes one turn.
    void Relay(const Relayed& datagram) { RelayBytes(datagram.Encode()); }

    void RelayBytes(const Bytes& bytes) {
        voicePort_.SendTo(voiceClient_, bytes);
        receiver_.ReceiveOnce(server_, kPollMs);
    }

    int Fill() { return queue_.Fill(); }

    const SenderFilter server_ = SenderFilter::OnlyFrom("127.0.0.41");
    PlaybackQueue queue_;
    VoiceReceiver receiver_{*link_, *shared_, queue_};
};

TEST_F(VoiceReceiverTest, AcceptedSpeechSetsSpeakerLevelsAndQueuesThePayload) {
    Relay({.kind = 'A', .sequence = 7, .relay = 0xFE, .account = 0x1234, .errorLevel = 2, .sample = -300});
    EXPECT_EQ(shared_->lights.tst, kLedGreen);
    EXPECT_EQ(receiver_.LastSequence(), 7);
    EXPECT_EQ(link_->relayByte, -2);
    EXPECT_EQ(link_->speakerAccount, 0x1234);
    EXPECT_EQ(link_->errorLevel, 2);
    EXPECT_EQ(Fill(), 6);
    EXPECT_EQ(SampleOfSlot5(queue_, 0), -300);
    queue_.Reset();
    Relay({.sequence = 8, .sample = -300});
    EXPECT_EQ(SampleOfSlot5(queue_, 499), -300);
}

TEST_F(VoiceReceiverTest, RejectedDatagramsChangeOnlyTheTestLight) {
    struct Case {
        const char* name;
        Relayed second;
        int testLight;
    } cases[] = {
        {"same sequence as the one before",
         {.sequence = 7, .account = 99, .errorLevel = 4, .sample = 5},
         kLedRed},
        {"unknown kind",
         {.kind = 'Z', .sequence = 8, .account = 99, .errorLevel = 4, .sample = 5},
         kLedYellow},
    };
    for (const Case& c : cases) {
        Relay({.sequence = 7, .relay = 3, .account = 0x1234, .errorLevel = 1, .sample = 100});
        const int fillBefore = Fill();
        Relay(c.second);
        EXPECT_EQ(shared_->lights.tst, c.testLight) << c.name;
        EXPECT_EQ(link_->speakerAccount, 0x1234) << c.name;
        EXPECT_EQ(link_->errorLevel, 1) << c.name;
        EXPECT_EQ(link_->relayByte, 3) << c.name;
        EXPECT_EQ(receiver_.LastSequence(), 7) << c.name;
        EXPECT_EQ(Fill(), fillBefore) << c.name;
        Relay({.sequence = 200, .sample = 0}); // moves the remembered sequence away from 7
    }
}

TEST_F(VoiceReceiverTest, FirstDatagramWithSequenceZeroCountsAsARepeat) {
    Relay({.sequence = 0, .account = 5});
    EXPECT_EQ(shared_->lights.tst, kLedRed);
    EXPECT_EQ(link_->speakerAccount, 0);
}

TEST_F(VoiceReceiverTest, KindBIsAttenuatedToATenthOnlyOnChannelTen) {
    struct Case {
        std::uint8_t kind;
        int channelPort;
        std::int16_t sent, queued;
    } cases[] = {
        {'B', 30010, 12345, 1234},  {'B', 30010, -12345, -1234}, {'B', 30010, -5, 0},
        {'B', 30010, 32767, 3276},  {'B', 30010, -32768, -3276}, {'B', 30009, 12345, 12345},
        {'A', 30010, 12345, 12345},
    };
    std::uint8_t sequence = 1;
    for (const Case& c : cases) {
        shared_->channelPort = c.channelPort;
        for (int index : {0, 499}) {
            queue_.Reset();
            Relay({.kind = c.kind, .sequence = sequence++, .sample = c.sent});
            EXPECT_EQ(SampleOfSlot5(queue_, index), c.queued) << c.kind << " " << c.channelPort;
        }
    }
}

TEST_F(VoiceReceiverTest, PayloadFlagDecidesWhatIsQueued) {
    struct Case {
        std::uint8_t flag;
        int fillAfter;
        std::int16_t slotSample; // sample 0 of slot 5 afterwards
    } cases[] = {{kPayloadSpeech, 6, 500}, {kPayloadSilence, 6, 0}, {2, 5, 0}, {0xFF, 5, 0}};
    std::uint8_t sequence = 1;
    for (const Case& c : cases) {
        queue_.Reset();
        Relay({.sequence = sequence, .account = sequence, .errorLevel = 3, .flag = c.flag, .sample = 500});
        EXPECT_EQ(Fill(), c.fillAfter) << int{c.flag};
        EXPECT_EQ(SampleOfSlot5(queue_, 0), c.slotSample) << int{c.flag};
        EXPECT_EQ(link_->speakerAccount, sequence) << int{c.flag};
        EXPECT_EQ(link_->errorLevel, 3) << int{c.flag};
        EXPECT_EQ(shared_->lights.tst, kLedGreen) << int{c.flag};
        ++sequence;
    }
}

TEST_F(VoiceReceiverTest, ShortDatagramQueuesOnlyWhatArrived) {
    // A speech datagram cut after 5 samples, on channel 10 where a 'B' datagram is also attenuated.
    for (std::uint8_t kind : {'A', 'B'}) {
        shared_->channelPort = 30010;
        queue_.Reset();
        Relay({.kind = kind, .sequence = kind, .sample = 0x0101, .length = kAudioHeaderBytes + 10});
        std::uint8_t block[kPlaybackBlockBytes];
        queue_.TakeNextBlock(block);
        const std::uint8_t* slot5 = block + kCaptureBlockBytes;
        EXPECT_EQ(SampleAt(slot5, 4), kind == 'A' ? 0x0101 : 0x0101 / 10);
        EXPECT_EQ(SampleAt(slot5, 5), 0);
        EXPECT_EQ(SampleAt(slot5, 499), 0);
    }
    // A header cut after the relay byte: the speaker and error level read as zero.
    Relay({.sequence = 3, .relay = 4, .length = 3});
    EXPECT_EQ(shared_->lights.tst, kLedGreen);
    EXPECT_EQ(link_->relayByte, 4);
    EXPECT_EQ(link_->speakerAccount, 0);
    EXPECT_EQ(link_->errorLevel, 0);
}

TEST_F(VoiceReceiverTest, NothingReceivedMeansErrorLevel99AndKeepsTheRest) {
    Relay({.sequence = 1, .account = 0x1234, .errorLevel = 1});
    const int fill = Fill();
    receiver_.ReceiveOnce(server_, 50); // no datagram
    EXPECT_EQ(link_->errorLevel, 99);
    EXPECT_EQ(link_->speakerAccount, 0x1234);
    EXPECT_EQ(Fill(), fill);

    Relay({.sequence = 2, .errorLevel = 1});
    RelayBytes({}); // an empty datagram
    EXPECT_EQ(link_->errorLevel, 99);
    EXPECT_EQ(receiver_.LastSequence(), 2);
}

TEST_F(VoiceReceiverTest, VoiceFromAnybodyButTheServerIsCountedAndDoesNotHoldOffSilence) {
    Relay({.sequence = 1, .account = 0x1234, .errorLevel = 1});
    const int fill = Fill();
    UdpPeer stranger("127.0.0.45", 0);
    stranger.SendTo(voiceClient_, Relayed{.sequence = 9, .account = 0x0666, .errorLevel = 2}.Encode());
    receiver_.ReceiveOnce(server_, 50);
    EXPECT_EQ(link_->droppedVoiceDatagrams, 1u);
    EXPECT_EQ(link_->errorLevel, 99) << "a window without the server's datagram";
    EXPECT_EQ(link_->speakerAccount, 0x1234);
    EXPECT_EQ(receiver_.LastSequence(), 1);
    EXPECT_EQ(Fill(), fill);
}

TEST_F(VoiceReceiverTest, RingIsMarkedGreenOnlyWhileNotTransmitting) {
    struct Case {
        int keyState, serialState;
        bool marked;
    } cases[] = {
        {kPttListen, kPttListen, true}, {kPttTalk, kPttListen, false}, {kPttListen, kPttTalk, false}};
    std::uint8_t sequence = 1;
    for (const Case& c : cases) {
        shared_->pushToTalk.SetKeyState(c.keyState);
        shared_->pushToTalk.SetAccessoryState(c.serialState);
        shared_->lights.playbackRingPos = 9;
        shared_->lights.ring[9] = kLedBlue;
        Relay({.sequence = sequence++});
        EXPECT_EQ(shared_->lights.ring[9], c.marked ? kLedGreen : kLedBlue) << c.keyState << c.serialState;
    }
}

TEST_F(VoiceReceiverTest, RingPositionOutOfRangeIsNotWrittenOutsideTheRing) {
    shared_->lights.playbackRingPos = 16;
    Relay({.sequence = 1});
    EXPECT_EQ(shared_->lights.ring[15], kLedGreen);
}

TEST_F(VoiceReceiverTest, UdpLightChangesEveryFifthAcceptedDatagram) {
    shared_->lights.udp = kLedYellow;
    std::vector<int> lights;
    for (int i = 1; i <= 12; ++i) {
        Relay({.sequence = static_cast<std::uint8_t>(i), .flag = 2});
        lights.push_back(shared_->lights.udp);
    }
    const int B = kLedBlue, G = kLedGreen;
    EXPECT_EQ(lights, (std::vector<int>{B, B, B, B, B, G, G, G, G, G, B, B}));
}

// Shutdown may clear the flag before the receive thread has started: the loop must not take it back.
TEST_F(VoiceReceiverTest, LoopStoppedBeforeItStartsTakesNothing) {
    voicePort_.SendTo(voiceClient_, Relayed{}.Encode());
    ASSERT_EQ(PollReadable(link_->voiceSocket, kPollMs), PollResult::Readable);
    const std::atomic<bool> running{false};
    RunVoiceReceiveLoop(*link_, *shared_, queue_, "127.0.0.41", running);
    EXPECT_TRUE(DatagramWaiting(link_->voiceSocket));
}

TEST_F(VoiceReceiverTest, UnusableSocketDoesNotSpin) {
    CloseUdpSocket(link_->voiceSocket);
    link_->voiceSocket = kInvalidSocket;
    const auto start = std::chrono::steady_clock::now();
    receiver_.ReceiveOnce(server_, 100);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90));
    EXPECT_EQ(link_->errorLevel, 99);
}

} // namespace
