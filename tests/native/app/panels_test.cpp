#include "app/panel_layout.h"
#include "session/channels.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <numbers>
#include <set>
#include <string>

namespace {

TEST(Panels, RingLightsStandEvenlyOnACircleClockwiseFromTheBottom) {
    constexpr Point kCentre{420, 380};
    constexpr double kRadius = 40.0;
    constexpr double kStep = std::numbers::pi / 8.0;
    for (int i = 0; i < kNetworkRingLights; ++i) {
        const Point p = RingLightPosition(i);
        const double dx = p.x - kCentre.x;
        const double dy = p.y - kCentre.y;
        // Each coordinate is truncated toward the centre, by less than one pixel.
        EXPECT_LE(std::hypot(dx, dy), kRadius) << "light " << i;
        EXPECT_GT(std::hypot(std::abs(dx) + 1.0, std::abs(dy) + 1.0), kRadius) << "light " << i;
        // Screen y runs down, so clockwise from the bottom goes left first.
        const double angle = std::atan2(-dx, dy);
        EXPECT_NEAR(std::remainder(angle - i * kStep, 2.0 * std::numbers::pi), 0.0, 0.03) << "light " << i;
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

TEST(Panels, EveryChannelHasItsOwnNameAndNoOtherPortHasOne) {
    std::set<std::string> names;
    for (int port = kFirstChannelPort; port <= kLastChannelPort; ++port) {
        ASSERT_NE(ChannelName(port), nullptr) << port;
        EXPECT_NE(std::strlen(ChannelName(port)), 0u) << port;
        names.insert(ChannelName(port));
    }
    EXPECT_EQ(names.size(), static_cast<std::size_t>(kChannelCount));
    EXPECT_STREQ(ChannelName(kFirstChannelPort), "Bienvenue");
    EXPECT_STREQ(ChannelName(kLastChannelPort), "Tests divers");
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
    IndicatorLights lights;
    lights.tst = kLedRed;
    lights.web = kLedDarkRed;
    lights.txRx = kLedGreen;
    lights.udp = kLedYellow;
    lights.svc = kLedBlue;
    lights.tcp = kLedDarkBlue;
    const struct {
        const char* label;
        LedColour colour;
    } expected[] = {{"TST", kLedRed},    {"HTTPS", kLedDarkRed}, {"TX-RX", kLedGreen},
                    {"UDP", kLedYellow}, {"SVC", kLedBlue},      {"TCP", kLedDarkBlue}};
    ASSERT_EQ(std::size(kStatusLights), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_STREQ(kStatusLights[i].label, expected[i].label);
        EXPECT_EQ((lights.*kStatusLights[i].state).load(), expected[i].colour) << expected[i].label;
    }
}

} // namespace
