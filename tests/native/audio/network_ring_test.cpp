#include "audio/network_ring.h"

#include "session/led_colour.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The ring as one letter per light: G green, d dark red, B blue, R red.
std::string Show(const NetworkRingLights& ring) {
    std::string lights;
    for (const std::atomic<LedColour>& light : ring) {
        const int colour = light.load();
        lights += colour == kLedGreen ? 'G' : colour == kLedDarkRed ? 'd' : colour == kLedBlue ? 'B' : 'R';
    }
    return lights;
}

TEST(TransmitRing, EveryThirdDatagramMovesOneGreenLightDownADarkRedRing) {
    NetworkRingLights ring;
    for (std::atomic<LedColour>& light : ring) {
        light = kLedBlue;
    }
    int counter = 0;
    int pos = kTxRingPosAtStart;
    TransmitRingStep(counter, pos, ring);
    TransmitRingStep(counter, pos, ring);
    EXPECT_EQ(Show(ring), "BBBBBBBBBBBBBBBB");
    TransmitRingStep(counter, pos, ring);
    EXPECT_EQ(Show(ring), "dddddddddddddddG");
    for (int i = 0; i < 3; ++i) {
        TransmitRingStep(counter, pos, ring);
    }
    EXPECT_EQ(Show(ring), "ddddddddddddddGd");
    for (int i = 0; i < 14 * 3; ++i) {
        TransmitRingStep(counter, pos, ring);
    }
    EXPECT_EQ(Show(ring), "Gddddddddddddddd");
    for (int i = 0; i < 3; ++i) {
        TransmitRingStep(counter, pos, ring);
    }
    EXPECT_EQ(Show(ring), "dddddddddddddddG");
}

TEST(PlaybackRing, RedLightWalksUpAndLeavesBlueBehindItsPublishedPosition) {
    NetworkRingLights ring;
    for (std::atomic<LedColour>& light : ring) {
        light = kLedDarkRed;
    }
    int head = 0;
    std::atomic<int> published{-1};
    PlaybackRingStep(head, published, ring);
    EXPECT_EQ(published, 0);
    EXPECT_EQ(Show(ring), "BRdddddddddddddd");
    head = 15;
    PlaybackRingStep(head, published, ring);
    EXPECT_EQ(published, 15);
    EXPECT_EQ(head, 0);
    EXPECT_EQ(Show(ring), "RRdddddddddddddB");
}

} // namespace
