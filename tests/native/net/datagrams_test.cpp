#include "net/datagrams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

template <std::size_t N> Bytes Prefix(const std::uint8_t (&buffer)[N], std::size_t length) {
    return Bytes(buffer, buffer + length);
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

TEST(Greeting, IsTheNineByteTagAndTwiceThatForTheSupervisorSocket) {
    const Bytes tag = {'T', '.', 'W', 'I', 'N', 0, 0, 0, 0};
    std::uint8_t single[kGreetingBytes];
    EXPECT_EQ(Prefix(single, EncodeGreeting(single)), tag);
    std::uint8_t twice[kDoubleGreetingBytes];
    EXPECT_EQ(Prefix(twice, EncodeDoubleGreeting(twice)), Concat({tag, tag}));
}

TEST(Presence, EachPhaseLaysOutItsBodyAfterTheAccountHeader) {
    const Bytes header = {'R', '.', 0, 0x34, 0x12, 0, 0, 0, 0};
    const char sixteen[20] = "0000000305441741";
    const char fifteen[20] = "000000030544174";
    const char seventeen[20] = "00000003054417411";
    const char unterminated[20] = {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0',
                                   '1', '2', '3', '4', '5', '6', '7', '8', '9', '0'};
    const Bytes unknownDevice = Concat({header, Text("DDEVICE.ID"), {0}});
    struct Case {
        const char* name;
        int phase;
        const char* pcIdentifier;
        Bytes expected;
    } cases[] = {
        {"version", 0, sixteen, Concat({header, {'V', '0', '7', '7', 0x02}})},
        {"name", 1, sixteen, Concat({header, Text("NWIN.PSEUDO.WIN."), {0}})},
        {"device of 16 digits", 2, sixteen, Concat({header, Text("D0000000305441741"), {0}})},
        {"device of 15 characters", 2, fifteen, unknownDevice},
        {"device of 17 characters", 2, seventeen, unknownDevice},
        {"device field without terminator", 2, unterminated, unknownDevice},
        {"device field empty", 2, "", unknownDevice},
    };
    for (const Case& c : cases) {
        std::uint8_t out[kPresenceMaxBytes];
        std::memset(out, 0xAA, sizeof out);
        const std::size_t length = EncodePresence(out, c.phase, 0x1234, c.pcIdentifier, 20);
        EXPECT_EQ(Prefix(out, length), c.expected) << c.name;
    }
}

TEST(Audio, HeaderThenTheThousandPayloadBytes) {
    std::uint8_t payload[kAudioPayloadBytes];
    for (std::size_t i = 0; i < sizeof payload; ++i) {
        payload[i] = static_cast<std::uint8_t>(i * 7);
    }
    std::uint8_t out[kAudioDatagramBytes];
    std::memset(out, 0xAA, sizeof out);
    ASSERT_EQ(EncodeAudio(out, 9, 0x1234, payload), 1024u);
    const Bytes header = Concat({{'A', 9, 0x02, 0x34, 0x12, 0, 'N'}, Text("WIN-APP-Radio"), {0, 0, 0, 0}});
    EXPECT_EQ(Prefix(out, kAudioHeaderBytes), header);
    EXPECT_EQ(Bytes(out + 24, out + 1024), Bytes(payload, payload + 1000));
}

TEST(Audio, SequenceRunsOneTo255AndNeverZero) {
    const std::pair<int, int> steps[] = {{1, 2}, {254, 255}, {255, 1}, {0, 1}};
    for (auto [from, to] : steps) {
        EXPECT_EQ(NextAudioSequence(static_cast<std::uint8_t>(from)), to) << from;
    }
}

TEST(SupervisorRequests, ListAndStatusRequests) {
    std::uint8_t list[kListRequestBytes];
    EXPECT_EQ(Prefix(list, EncodeListRequest(list)), (Bytes{'L', 0, 0}));
    const std::pair<int, std::uint8_t> relays[] = {{5, 5}, {-2, 0xFE}, {-128, 0x80}, {0x1FF, 0xFF}};
    for (auto [relayByte, sent] : relays) {
        std::uint8_t status[kStatusRequestBytes];
        EXPECT_EQ(Prefix(status, EncodeStatusRequest(status, relayByte)), (Bytes{'A', 0x01, sent}))
            << relayByte;
    }
}

TEST(SpeechText, OneByteTagThenAtMost200TextBytes) {
    const std::string long250(250, 'x');
    const std::string exact200(200, 'y');
    const std::string short199(199, 'z');
    struct Case {
        const char* text;
        std::size_t length;
    } cases[] = {
        {long250.c_str(), 201}, {exact200.c_str(), 201}, {short199.c_str(), 200}, {"", 1}, {nullptr, 1}};
    for (const Case& c : cases) {
        std::uint8_t out[kSpeechTextMaxBytes];
        ASSERT_EQ(EncodeSpeechText(out, c.text), c.length);
        EXPECT_EQ(out[0], 0x01);
        if (c.text != nullptr) {
            EXPECT_EQ(Bytes(out + 1, out + c.length), Bytes(c.text, c.text + c.length - 1));
        }
    }
    std::uint8_t stop[1];
    EXPECT_EQ(Prefix(stop, EncodeSynthStop(stop)), Bytes{0xFF});
}

TEST(SpeechText, GoesOutInWindows1252CutAfterConversion) {
    std::uint8_t out[kSpeechTextMaxBytes];
    EXPECT_EQ(Prefix(out, EncodeSpeechText(out, "l’été à Noël")),
              (Bytes{0x01, 'l', '?', 0xE9, 't', 0xE9, ' ', 0xE0, ' ', 'N', 'o', 0xEB, 'l'}));
    // A lone continuation byte and a cut sequence are no letters either.
    EXPECT_EQ(Prefix(out, EncodeSpeechText(out, "\x80"
                                                "a\xC3")),
              (Bytes{0x01, '?', 'a', '?'}));
    std::string accents;
    for (int letter = 0; letter < 250; ++letter) {
        accents += "é";
    }
    EXPECT_EQ(Prefix(out, EncodeSpeechText(out, accents.c_str())), Concat({Bytes{0x01}, Bytes(200, 0xE9)}));
}

TEST(RelayedVoice, BytesNotReceivedReadAsZero) {
    // Only `length` bytes count: what lies beyond them in the buffer is never read.
    const Bytes full = {'A', 9, 3, 0x34, 0x12, 2, 0, 1};
    struct Case {
        std::size_t length;
        int relayByte, account, errorLevel, flag;
        std::size_t payloadReceived;
    } cases[] = {
        {0, 0, 0, 0, 0, 0},        {3, 3, 0, 0, 0, 0},
        {4, 3, 0x34, 0, 0, 0},     {6, 3, 0x1234, 2, 0, 0},
        {8, 3, 0x1234, 2, 1, 0},   {24, 3, 0x1234, 2, 1, 0},
        {34, 3, 0x1234, 2, 1, 10}, {2000, 3, 0x1234, 2, 1, 1000},
    };
    for (const Case& c : cases) {
        Bytes buffer(2000, 0x77);
        std::copy(full.begin(), full.end(), buffer.begin());
        const RelayedVoice voice = DecodeRelayedVoice(buffer.data(), c.length);
        EXPECT_EQ(voice.relayByte, c.relayByte) << c.length;
        EXPECT_EQ(voice.speakerAccount, c.account) << c.length;
        EXPECT_EQ(voice.errorLevel, c.errorLevel) << c.length;
        EXPECT_EQ(voice.payloadFlag, c.flag) << c.length;
        EXPECT_EQ(voice.payloadReceived, c.payloadReceived) << c.length;
    }
}

TEST(RelayedVoice, AcceptsKindsAAndBUnlessTheSequenceRepeats) {
    struct Case {
        std::uint8_t kind, sequence, last;
        VoiceCheck expected;
    } cases[] = {
        {'A', 5, 4, VoiceCheck::Accepted},    {'B', 5, 4, VoiceCheck::Accepted},
        {'A', 5, 5, VoiceCheck::Repeat},      {'A', 0, 0, VoiceCheck::Repeat},
        {'Z', 5, 4, VoiceCheck::UnknownKind}, {'a', 5, 4, VoiceCheck::UnknownKind},
        {0, 5, 4, VoiceCheck::UnknownKind},   {'Z', 5, 5, VoiceCheck::UnknownKind},
    };
    for (const Case& c : cases) {
        RelayedVoice voice;
        voice.kind = c.kind;
        voice.sequence = c.sequence;
        EXPECT_EQ(CheckRelayedVoice(voice, c.last), c.expected) << c.kind << " " << int{c.sequence};
    }
}

TEST(ListReply, RejectsWhatDoesNotFitTheMemberTable) {
    struct Case {
        const char* name;
        Bytes datagram;
        bool accepted;
    } cases[] = {
        {"channel 0, no member", {'L', 0, 0}, true},
        {"channel 10, 16 members", Concat({{'L', 10, 16}, Bytes(32, 1)}), true},
        {"channel 11", {'L', 11, 1, 1, 0}, false},
        {"channel -1", {'L', 0xFF, 1, 1, 0}, false},
        {"channel 127", {'L', 0x7F, 0}, false},
        {"17 members", Concat({{'L', 2, 17}, Bytes(34, 1)}), false},
        {"-1 members", {'L', 2, 0xFF}, false},
        {"status reply", {'A', 2, 0}, false},
        {"empty", {}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeListReply(c.datagram.data(), c.datagram.size()).has_value(), c.accepted) << c.name;
    }
}

TEST(StatusReply, NoticeCodeIsByteTwo) {
    struct Case {
        Bytes datagram;
        std::optional<std::uint8_t> code;
    } cases[] = {
        {{'A', 0, 220}, 220}, {{'A', 9, 240}, 240},          {{'A', 0, 7}, 7},
        {{'A'}, 0},           {{'L', 0, 220}, std::nullopt}, {{}, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeStatusReply(c.datagram.data(), c.datagram.size()), c.code);
    }
}

TEST(SynthKey, OnlyUpperCaseTAndRCount) {
    struct Case {
        Bytes datagram;
        SynthKey key;
    } cases[] = {
        {{'T'}, SynthKey::Press}, {{'R'}, SynthKey::Release}, {{'T', 'R'}, SynthKey::Press},
        {{'t'}, SynthKey::None},  {{'r'}, SynthKey::None},    {{0xFF}, SynthKey::None},
        {{}, SynthKey::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeSynthKey(c.datagram.data(), c.datagram.size()), c.key);
    }
}

} // namespace
