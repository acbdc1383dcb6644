#include "core/wire.h"

#include "network_harness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelvora::network {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Greeting() {
    return {'T', '.', 'W', 'I', 'N', 0, 0, 0, 0};
}

Bytes Doubled(const Bytes& bytes) {
    Bytes twice = bytes;
    twice.insert(twice.end(), bytes.begin(), bytes.end());
    return twice;
}

Bytes PresenceBody(char tag, const std::string& text) {
    Bytes bytes = {'R', '.', 0, 0x34, 0x12, 0, 0, 0, 0, static_cast<std::uint8_t>(tag)};
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

Bytes With(Bytes bytes, std::size_t at, std::uint8_t value) {
    bytes[at] = value;
    return bytes;
}

Bytes Resized(Bytes bytes, std::size_t size) {
    bytes.resize(size, 0);
    return bytes;
}

struct VoiceCase {
    const char* name;
    Bytes bytes;
    Malformation malformation;
    VoiceKind kind;
};

TEST(VoiceDatagramDecoding, AcceptsTheClientsDatagramsAndRejectsEverythingElse) {
    const Bytes version = PresenceBody('V', std::string("077\x02", 4));
    const Bytes name = PresenceBody('N', std::string("WIN.PSEUDO.WIN.\0", 16));
    const Bytes device = PresenceBody('D', std::string("1234567890123456\0", 17));
    const Bytes deviceStandIn = PresenceBody('D', std::string("DEVICE.ID\0", 10));
    const Bytes audio = testing::AudioDatagram(0x1234, 7, 0x55);
    const VoiceCase cases[] = {
        {"greeting", Greeting(), Malformation::None, VoiceKind::Greeting},
        {"doubled greeting", Doubled(Greeting()), Malformation::None, VoiceKind::Greeting},
        {"version presence", version, Malformation::None, VoiceKind::Presence},
        {"name presence", name, Malformation::None, VoiceKind::Presence},
        {"device presence", device, Malformation::None, VoiceKind::Presence},
        {"device stand-in presence", deviceStandIn, Malformation::None, VoiceKind::Presence},
        {"audio", audio, Malformation::None, VoiceKind::Audio},
        {"empty", {}, Malformation::WrongSize, {}},
        {"unknown kind", With(Greeting(), 0, 'Z'), Malformation::UnknownKind, {}},
        {"relayed kind B", With(audio, 0, 'B'), Malformation::UnknownKind, {}},
        {"greeting of 10 bytes", Resized(Greeting(), 10), Malformation::WrongSize, {}},
        {"greeting with other text", With(Greeting(), 2, 'X'), Malformation::UnknownKind, {}},
        {"doubled greeting halves differ", With(Doubled(Greeting()), 10, 'X'), Malformation::BadField, {}},
        {"presence of 13 bytes", Resized(version, 13), Malformation::WrongSize, {}},
        {"presence of 1024 bytes", Resized(name, 1024), Malformation::WrongSize, {}},
        {"presence without the dot", With(name, 1, 'X'), Malformation::UnknownKind, {}},
        {"version tag at name length", With(name, 9, 'V'), Malformation::BadField, {}},
        {"name tag at version length", With(version, 9, 'N'), Malformation::BadField, {}},
        {"device tag at name length", With(name, 9, 'D'), Malformation::BadField, {}},
        {"unknown body tag", With(version, 9, 'Q'), Malformation::BadField, {}},
        {"audio one byte short", Resized(audio, 1023), Malformation::WrongSize, {}},
        {"audio one byte long", Resized(audio, 1025), Malformation::WrongSize, {}},
        {"audio header only", Resized(audio, 24), Malformation::WrongSize, {}},
        {"audio with sequence 0", With(audio, 1, 0), Malformation::BadField, {}},
    };
    for (const VoiceCase& test : cases) {
        SCOPED_TRACE(test.name);
        const VoiceDatagram decoded = DecodeVoiceDatagram(test.bytes);
        EXPECT_EQ(decoded.malformation, test.malformation);
        if (test.malformation == Malformation::None) {
            EXPECT_EQ(decoded.kind, test.kind);
        }
    }
}

TEST(VoiceDatagramDecoding, ReadsAccountSequencePayloadAndGreetingSocket) {
    const Bytes audio = testing::AudioDatagram(0x1234, 200, 0x55);
    const VoiceDatagram decoded = DecodeVoiceDatagram(audio);
    EXPECT_EQ(decoded.account, 0x1234);
    EXPECT_EQ(decoded.sequence, 200);
    ASSERT_EQ(decoded.payload.size(), kPayloadBytes);
    EXPECT_EQ(decoded.payload.data(), audio.data() + 24);

    EXPECT_EQ(DecodeVoiceDatagram(testing::PresenceDatagram(0xBEEF)).account, 0xBEEF);
    EXPECT_FALSE(DecodeVoiceDatagram(Greeting()).fromSupervisorSocket);
    EXPECT_TRUE(DecodeVoiceDatagram(Doubled(Greeting())).fromSupervisorSocket);
}

struct SupervisorCase {
    const char* name;
    Bytes bytes;
    Malformation malformation;
    SupervisorKind kind;
    std::uint8_t relayByte;
};

TEST(SupervisorRequestDecoding, AcceptsListAndStatusRequestsOnly) {
    const SupervisorCase cases[] = {
        {"list", {'L', 0, 0}, Malformation::None, SupervisorKind::ListRequest, 0},
        {"status", {'A', 1, 0xC8}, Malformation::None, SupervisorKind::StatusRequest, 0xC8},
        {"status with relay byte 0", {'A', 1, 0}, Malformation::None, SupervisorKind::StatusRequest, 0},
        {"empty", {}, Malformation::UnknownKind, {}, 0},
        {"unknown kind", {'Z', 0, 0}, Malformation::UnknownKind, {}, 0},
        {"list of 2 bytes", {'L', 0}, Malformation::WrongSize, {}, 0},
        {"list of 4 bytes", {'L', 0, 0, 0}, Malformation::WrongSize, {}, 0},
        {"list naming a channel", {'L', 3, 0}, Malformation::BadField, {}, 0},
        {"status of 1024 bytes", Resized({'A', 1, 5}, 1024), Malformation::WrongSize, {}, 0},
        {"status without 0x01", {'A', 2, 5}, Malformation::BadField, {}, 0},
    };
    for (const SupervisorCase& test : cases) {
        SCOPED_TRACE(test.name);
        const SupervisorRequest decoded = DecodeSupervisorRequest(test.bytes);
        EXPECT_EQ(decoded.malformation, test.malformation);
        if (test.malformation == Malformation::None) {
            EXPECT_EQ(decoded.kind, test.kind);
            EXPECT_EQ(decoded.relayByte, test.relayByte);
        }
    }
}

TEST(RelayDatagramEncoding, SilenceIsTheHeaderAloneAndSpeechCarriesThePayload) {
    std::array<std::uint8_t, kAudioDatagramBytes> out;
    out.fill(0xEE); // stale bytes must not leak into the header
    const RelayHeader header{.sequence = 9, .relayByte = 3, .speaker = 0x1234, .errorLevel = 2};

    ASSERT_EQ(EncodeRelayDatagram(header, {}, out), kRelayHeaderBytes);
    const Bytes silence(out.begin(), out.begin() + 24);
    Bytes expected(24, 0);
    expected[0] = 'A';
    expected[1] = 9;
    expected[2] = 3;
    expected[3] = 0x34;
    expected[4] = 0x12;
    expected[5] = 2;
    EXPECT_EQ(silence, expected);

    const Bytes payload(kPayloadBytes, 0x42);
    ASSERT_EQ(EncodeRelayDatagram(header, payload, out), kAudioDatagramBytes);
    EXPECT_EQ(out[7], 1);
    EXPECT_TRUE(std::all_of(out.begin() + 24, out.end(), [](std::uint8_t b) { return b == 0x42; }));
}

TEST(ListReplyEncoding, CarriesAtMostSixteenAccountsLowByteFirst) {
    std::array<std::uint8_t, kListReplyMaxBytes> out{};
    const std::vector<std::uint16_t> two = {0x1234, 7};
    ASSERT_EQ(EncodeListReply(3, two, out), 7u);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 7), (Bytes{'L', 3, 2, 0x34, 0x12, 7, 0}));

    const std::vector<std::uint16_t> twenty(20, 1);
    EXPECT_EQ(EncodeListReply(10, twenty, out), 3u + 32u);
    EXPECT_EQ(out[2], 16);
    EXPECT_EQ(EncodeListReply(0, {}, out), 3u);
    EXPECT_EQ(out[2], 0);
}

} // namespace
} // namespace zelvora::network
