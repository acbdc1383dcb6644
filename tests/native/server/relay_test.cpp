#include "network_harness.h"

#include <gtest/gtest.h>

#include <set>

namespace zelvora::network::testing {
namespace {

constexpr int kChannel = 4;
const Endpoint kTalker = Client(1);
const Endpoint kListener = Client(2);
const Endpoint kOther = Client(3);

// Three clients on one channel, their presence flowing every tick.
struct Channel : Harness {
    explicit Channel(int number = kChannel) : channel(number) {
        for (const Endpoint& client : {kTalker, kListener, kOther}) {
            Presence(channel, client, client.port);
        }
    }
    void Step() { Tick({{channel, kTalker}, {channel, kListener}, {channel, kOther}}); }
    // The talker sends one audio datagram, then a tick passes.
    void Say(std::uint8_t fill, const Endpoint& who = kTalker) {
        Audio(channel, who, who.port, ++sequence, fill);
        Step();
    }
    // What one client heard over the whole test, tick by tick: payload fill bytes, 0 for silence.
    std::vector<std::uint8_t> Heard(const Endpoint& client) const {
        std::vector<std::uint8_t> heard;
        for (const SentDatagram& datagram : outbox.To(client)) {
            heard.push_back(HeardFill(datagram));
        }
        return heard;
    }
    std::vector<std::uint8_t> HeardSpeech(const Endpoint& client) const {
        std::vector<std::uint8_t> speech;
        for (const std::uint8_t fill : Heard(client)) {
            if (fill != 0) {
                speech.push_back(fill);
            }
        }
        return speech;
    }
    int channel;
    std::uint8_t sequence = 0;
};

TEST(Relay, EveryClientGetsOneDatagramPerTickWithSequenceNeverZero) {
    Channel h;
    for (int tick = 0; tick < 600; ++tick) {
        h.Step();
    }
    for (const Endpoint& client : {kTalker, kListener, kOther}) {
        const auto datagrams = h.outbox.To(client);
        ASSERT_EQ(datagrams.size(), 600u);
        std::uint8_t previous = 0;
        for (const SentDatagram& datagram : datagrams) {
            EXPECT_EQ(datagram.kind, PortKind::Voice);
            EXPECT_EQ(datagram.channel, kChannel);
            EXPECT_EQ(datagram.bytes.size(), kRelayHeaderBytes);
            EXPECT_EQ(datagram.bytes[0], 'A');
            EXPECT_EQ(datagram.bytes[7], 0) << "nobody talks";
            EXPECT_NE(datagram.bytes[1], 0);
            EXPECT_NE(datagram.bytes[1], previous);
            previous = datagram.bytes[1];
        }
    }
}

TEST(Relay, ErrorLevelReflectsEachClientsOwnPresence) {
    Channel h;
    for (int tick = 0; tick < 64; ++tick) {
        h.Step();
    }
    h.Tick({{kChannel, kTalker}}); // the others fall quiet
    for (int tick = 0; tick < 8; ++tick) {
        h.Tick({{kChannel, kTalker}});
    }
    EXPECT_EQ(h.outbox.To(kTalker).back().bytes[5], 0);
    EXPECT_EQ(h.outbox.To(kListener).back().bytes[5], 4);
}

TEST(Relay, FixedErrorLevelReplacesEveryClientsOwn) {
    NetworkSettings settings;
    settings.fixedErrorLevel = 2;
    Harness h(settings);
    for (const Endpoint& client : {kTalker, kListener}) {
        h.Presence(kChannel, client, client.port);
    }
    for (int tick = 0; tick < 64; ++tick) {
        h.Tick({{kChannel, kTalker}}); // the listener's link would read 4
    }
    EXPECT_EQ(h.outbox.To(kTalker).back().bytes[5], 2);
    EXPECT_EQ(h.outbox.To(kListener).back().bytes[5], 2);
    for (const MemberView& member : h.network.Members(h.now)) {
        EXPECT_EQ(member.errorLevel, 2) << "the operator sees what the clients are told";
    }
}

TEST(Relay, TalkerIsRelayedToOthersButNotToItself) {
    Channel h;
    for (std::uint8_t fill = 1; fill <= 20; ++fill) {
        h.Say(fill);
    }
    for (int tick = 0; tick < 20; ++tick) {
        h.Step();
    }
    std::vector<std::uint8_t> expected;
    for (std::uint8_t fill = 1; fill <= 20; ++fill) {
        expected.push_back(fill);
    }
    EXPECT_EQ(h.HeardSpeech(kListener), expected);
    EXPECT_EQ(h.HeardSpeech(kOther), expected);
    EXPECT_TRUE(h.HeardSpeech(kTalker).empty());
    const SentDatagram speech = h.outbox.To(kListener).at(5);
    EXPECT_EQ(speech.bytes.size(), kAudioDatagramBytes);
    EXPECT_EQ(speech.bytes[3] | (speech.bytes[4] << 8), kTalker.port);
    EXPECT_TRUE(h.log.Contains("talk start channel 4 account 50001"));
    EXPECT_TRUE(h.log.Contains("talk stop channel 4 account 50001"));
}

TEST(Relay, SpeechGoesOutAsItArrivesAndTheTickStreamResumesAfterTheTalk) {
    Channel h;
    h.Step();
    h.Step();
    const std::size_t before = h.outbox.To(kListener).size();
    for (std::uint8_t fill = 1; fill <= 3; ++fill) { // a burst, between two ticks
        h.Audio(kChannel, kTalker, kTalker.port, ++h.sequence, fill);
    }
    EXPECT_EQ(h.Heard(kListener), (std::vector<std::uint8_t>{0, 0, 1, 2, 3})) << "no tick needed";
    for (int tick = 0; tick < 9; ++tick) { // the hold time: listeners get nothing, the talker its status
        h.Step();
    }
    EXPECT_EQ(h.outbox.To(kListener).size(), before + 3);
    EXPECT_EQ(h.outbox.To(kOther).size(), before + 3);
    EXPECT_EQ(h.Heard(kTalker), std::vector<std::uint8_t>(11, 0));
    h.Step(); // released
    EXPECT_EQ(h.Heard(kListener), (std::vector<std::uint8_t>{0, 0, 1, 2, 3, 0}));
}

TEST(Relay, APresenceBuysTwoRelayedDatagramsAndNoMore) {
    Harness h;
    const Endpoint forged = Client(7);
    h.Presence(kChannel, forged, 1);         // one datagram with someone else's source address
    for (int tick = 0; tick < 100; ++tick) { // until it times out, after 3 s
        h.Tick();
    }
    EXPECT_EQ(h.outbox.To(forged).size(), 2u);
    EXPECT_EQ(h.network.counters().withheldNoPresence, 93u);
    EXPECT_TRUE(h.network.Members(h.now).empty());
}

TEST(Floor, FirstTalkerHoldsUntilSilentForTheHoldTime) {
    Channel h;
    h.Say(1);
    h.Say(2);
    h.Audio(kChannel, kListener, kListener.port, ++h.sequence, 0x77); // refused: the floor is taken
    EXPECT_EQ(h.network.counters().floorBusy, 1u);
    for (int tick = 0; tick < 8; ++tick) { // up to 281 ms after the last word: still held
        h.Step();
    }
    h.Audio(kChannel, kListener, kListener.port, ++h.sequence, 0x78);
    EXPECT_EQ(h.network.counters().floorBusy, 2u);
    h.Step(); // 312 ms: released
    h.Say(0x79, kListener);
    h.Say(0x7A, kListener);
    for (int tick = 0; tick < 3; ++tick) {
        h.Step();
    }
    EXPECT_EQ(h.HeardSpeech(kOther), (std::vector<std::uint8_t>{1, 2, 0x79, 0x7A}));
    EXPECT_EQ(h.HeardSpeech(kTalker), (std::vector<std::uint8_t>{0x79, 0x7A}));
}

TEST(Floor, TalkerThatLeavesOrMovesReleasesAtOnce) {
    Channel h;
    h.Say(1);
    h.Presence(kChannel + 1, kTalker, kTalker.port);
    EXPECT_TRUE(h.log.Contains("talk stop channel 4 account 50001"));
    h.Say(2, kListener);
    EXPECT_EQ(h.network.counters().floorBusy, 0u);
}

TEST(Floor, DuplicateAndStrayAudioIsDroppedAndCounted) {
    Channel h;
    h.Audio(kChannel, kTalker, kTalker.port, 5, 1);
    h.Audio(kChannel, kTalker, kTalker.port, 5, 2);     // same sequence again
    h.Audio(kChannel + 1, kTalker, kTalker.port, 6, 3); // to another channel's port
    h.Audio(kChannel, Client(9), 9, 1, 4);              // from a stranger
    for (int tick = 0; tick < 4; ++tick) {
        h.Step();
    }
    EXPECT_EQ(h.HeardSpeech(kListener), (std::vector<std::uint8_t>{1}));
    const Counters& counters = h.network.counters();
    EXPECT_EQ(counters.audio, 1u);
    EXPECT_EQ(counters.duplicateAudio, 1u);
    EXPECT_EQ(counters.audioWrongChannel, 1u);
    EXPECT_EQ(counters.notMember, 1u);
}

TEST(Floor, SilenceCarriesTheLastSpeakerHeard) {
    Channel h;
    h.Say(1);
    for (int tick = 0; tick < 12; ++tick) {
        h.Step();
    }
    const SentDatagram last = h.outbox.To(kListener).back();
    EXPECT_EQ(last.bytes[7], 0);
    EXPECT_EQ(last.bytes[3] | (last.bytes[4] << 8), kTalker.port);
    EXPECT_EQ(h.outbox.To(kTalker).back().bytes[3], 0) << "the talker heard nobody";
}

TEST(EchoChannel, PlaysTheTalkBackToTheTalkerAloneAfterRelease) {
    Channel h(kEchoChannel);
    for (std::uint8_t fill = 1; fill <= 5; ++fill) {
        h.Say(fill);
    }
    h.Audio(kEchoChannel, kOther, kOther.port, 1, 0x50); // refused while talking
    for (int tick = 0; tick < 30; ++tick) {
        h.Step();
        if (tick == 9) {
            h.Audio(kEchoChannel, kOther, kOther.port, 2, 0x51); // refused during the playback too
        }
    }
    const std::vector<std::uint8_t> words = {1, 2, 3, 4, 5};
    EXPECT_EQ(h.HeardSpeech(kTalker), words);
    EXPECT_EQ(h.HeardSpeech(kListener), words) << "others hear it live, once";
    EXPECT_EQ(h.network.counters().floorBusy, 2u);

    // The playback starts only after the hold time: the last word went out just before tick 4, the first
    // echo comes 9 ticks later, 312 ms after it.
    const auto heard = h.Heard(kTalker);
    EXPECT_EQ(std::find(heard.begin(), heard.end(), 1) - heard.begin(), 13);
    EXPECT_TRUE(h.log.Contains("echo playback channel 10 account 50001"));
}

TEST(EchoChannel, TalkingAgainCutsThePlaybackShort) {
    Channel h(kEchoChannel);
    for (std::uint8_t fill = 1; fill <= 8; ++fill) {
        h.Say(fill);
    }
    for (int tick = 0; tick < 12; ++tick) {
        h.Step();
    }
    h.Say(0x40);
    h.Say(0x41);
    for (int tick = 0; tick < 4; ++tick) {
        h.Step();
    }
    const auto echoed = h.HeardSpeech(kTalker);
    EXPECT_LT(echoed.size(), 8u);
    EXPECT_EQ(h.HeardSpeech(kListener).back(), 0x41);
}

TEST(EchoChannel, OtherChannelsDoNotEcho) {
    Channel h(9);
    for (std::uint8_t fill = 1; fill <= 5; ++fill) {
        h.Say(fill);
    }
    for (int tick = 0; tick < 40; ++tick) {
        h.Step();
    }
    EXPECT_TRUE(h.HeardSpeech(kTalker).empty());
}

} // namespace
} // namespace zelvora::network::testing
