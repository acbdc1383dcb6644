#include "app/panel_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <string>

namespace {

TEST(Panels, RingLightPositionsRunClockwiseFromTheBottom) {
    // 40 * sin and 40 * cos of each angle, truncated toward zero (15.3 -> 15, 36.96 -> 36).
    const Point expected[kRingLights] = {
        {420, 420}, {405, 416}, {392, 408}, {384, 395}, {380, 380}, {384, 365}, {392, 352}, {405, 344},
        {420, 340}, {435, 344}, {448, 352}, {456, 365}, {460, 380}, {456, 395}, {448, 408}, {435, 416},
    };
    for (int i = 0; i < kRingLights; ++i) {
        const Point p = RingLightPosition(i);
        EXPECT_EQ(p.x, expected[i].x) << "light " << i;
        EXPECT_EQ(p.y, expected[i].y) << "light " << i;
    }
}

TEST(Panels, ErrorLevelLights) {
    constexpr int G = kLedGreen, Y = kLedYellow, R = kLedRed, D = kLedDarkBlue;
    const struct {
        int level;
        std::array<int, kErrorLevelLightCount> lights;
    } cases[] = {
        {0, {G, D, D, D, D}},  {1, {D, G, D, D, D}},  {2, {D, D, G, D, D}},       {3, {D, D, D, Y, D}},
        {4, {D, D, D, D, R}},  {99, {R, R, R, R, R}}, {5, {D, D, D, D, D}},       {7, {D, D, D, D, D}},
        {-1, {D, D, D, D, D}}, {98, {D, D, D, D, D}}, {INT_MIN, {D, D, D, D, D}}, {INT_MAX, {D, D, D, D, D}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorLevelLights(c.level), c.lights) << "level " << c.level;
    }
}

TEST(Panels, ChannelNames) {
    const char* const expected[kChannelCount] = {
        "Bienvenue",       "Accueil G\xC3\xA9n\xC3\xA9ral",   "Place du village",   "Zone Technologie",
        "Les Ondes Radio", "Au caf\xC3\xA9 de la gare",       "Evasion et camping", "La bonne ambiance",
        "Entre copines",   "Musique en st\xC3\xA9r\xC3\xA9o", "Tests divers",
    };
    for (int channel = 0; channel < kChannelCount; ++channel) {
        ASSERT_NE(ChannelName(kFirstChannelPort + channel), nullptr) << channel;
        EXPECT_STREQ(ChannelName(kFirstChannelPort + channel), expected[channel]) << channel;
    }
    for (int port : {0, kFirstChannelPort - 1, kLastChannelPort + 1, -kFirstChannelPort, INT_MIN}) {
        EXPECT_EQ(ChannelName(port), nullptr) << port;
    }
}

TEST(Panels, ChannelPanelContent) {
    const struct {
        int port;
        int count;
        int image;
        bool named;
        const char* countText;
    } cases[] = {
        {30000, 3, -1, true, "3"}, // the welcome channel shows the bare background
        {30001, 0, 1, true, "0"},    {30005, -1, 5, true, "-1"}, // right after a channel change
        {30010, 16, 10, true, "16"}, {30011, 2, -1, false, "2"},
        {29999, 2, -1, false, "2"},  {30000, INT_MIN, -1, true, "-2147483648"},
    };
    for (const auto& c : cases) {
        const ChannelPanelContent content = DescribeChannelPanel(c.port, c.count);
        EXPECT_EQ(content.channelImage, c.image) << c.port;
        EXPECT_EQ(content.name != nullptr, c.named) << c.port;
        EXPECT_STREQ(content.memberCount, c.countText) << c.port;
    }
}

TEST(Panels, StatusLightsShowTheirOwnFields) {
    auto session = std::make_unique<SessionState>();
    session->tstLed = 1;
    session->webLed = 2;
    session->txRxLed = 3;
    session->udpLed = 4;
    session->svcLed = 5;
    session->tcpLed = 6;
    const struct {
        const char* label;
        int colour;
    } expected[] = {{"TST", 1}, {"HTTPS", 2}, {"TX-RX", 3}, {"UDP", 4}, {"SVC", 5}, {"TCP", 6}};
    ASSERT_EQ(std::size(kStatusLights), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_STREQ(kStatusLights[i].label, expected[i].label);
        EXPECT_EQ((*session.*kStatusLights[i].state).load(), expected[i].colour) << expected[i].label;
    }
}

TEST(Panels, LightBitmapNames) {
    const struct {
        LedColour colour;
        const char* name;
    } expected[] = {{kLedRed, "LedRed.bmp"},     {kLedDarkRed, "LedDarkRed.bmp"},
                    {kLedGreen, "LedGreen.bmp"}, {kLedYellow, "LedYellow.bmp"},
                    {kLedBlue, "LedBlue.bmp"},   {kLedDarkBlue, "LedDarkBlue.bmp"}};
    ASSERT_EQ(std::size(kLedBitmapLoadOrder), std::size(expected));
    for (const auto& e : expected) {
        const auto found = std::count_if(std::begin(kLedBitmapLoadOrder), std::end(kLedBitmapLoadOrder),
                                         [&](const LedBitmapName& n) { return n.colour == e.colour; });
        ASSERT_EQ(found, 1) << e.name;
        for (const LedBitmapName& n : kLedBitmapLoadOrder) {
            if (n.colour == e.colour) {
                EXPECT_STREQ(n.entryName, e.name);
            }
        }
    }
}

} // namespace
