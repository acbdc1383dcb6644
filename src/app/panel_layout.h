#pragma once

#include "platform/geometry.h"
#include "session/led_colour.h"
#include "session/indicator_lights.h"
#include "session/main_window_zones.h"
#include "session/user_texts.h"

#include <array>
#include <atomic>

// Where the painted panels of the main window sit and what their lights show.

// Light bitmaps, in the order the loader looks them up in the container.
struct LedBitmapName {
    LedColour colour;
    const char* entryName;
};
inline constexpr LedBitmapName kLedBitmapLoadOrder[] = {
    {kLedRed, "LedRed.bmp"},         {kLedGreen, "LedGreen.bmp"},       {kLedBlue, "LedBlue.bmp"},
    {kLedDarkRed, "LedDarkRed.bmp"}, {kLedDarkBlue, "LedDarkBlue.bmp"}, {kLedYellow, "LedYellow.bmp"},
};

// Start states of every light and the NETWORK click zone, set once the light bitmaps are loaded.
void SetLightStartStates(IndicatorLights& lights, Zones& zones);

// NETWORK ring: sixteen lights on a circle around its centre, index running clockwise from the bottom.
inline constexpr Rect kNetworkZone{375, 335, 480, 440};
inline constexpr Point kNetworkLabelPosition{402, 380};
Point RingLightPosition(int index);

// Status panel: six labelled lights, each showing one session field.
struct StatusLight {
    const char* label;
    Point labelPosition;
    Point lightPosition;
    std::atomic<LedColour> IndicatorLights::*state;
};
inline constexpr StatusLight kStatusLights[] = {
    {kTstLabel, {417, 293}, {420, 270}, &IndicatorLights::tst},
    {kHttpsLabel, {300, 293}, {310, 270}, &IndicatorLights::web},
    {kTxRxLabel, {361, 293}, {370, 270}, &IndicatorLights::txRx},
    {kUdpLabel, {307, 243}, {310, 220}, &IndicatorLights::udp},
    {kSvcLabel, {337, 243}, {340, 220}, &IndicatorLights::svc},
    {kTcpLabel, {367, 243}, {370, 220}, &IndicatorLights::tcp},
};

// The five error-level lights, left to right, and the colours they show for a level.
inline constexpr int kErrorLevelLightCount = 5;
inline constexpr Point kErrorLevelLabelPosition{429, 243};
inline constexpr std::array<Point, kErrorLevelLightCount> kErrorLevelLightPositions{
    {{420, 220}, {438, 220}, {456, 220}, {474, 220}, {492, 220}}};
std::array<int, kErrorLevelLightCount> ErrorLevelLights(int errorLevel);

// Lights on both sides of the title that tell whether the main window is in front.
inline constexpr std::array<Point, 2> kForegroundLightPositions{{{125, 18}, {409, 18}}};

// Channel panel.
inline constexpr Point kChannelBackgroundPosition{10, 80};
inline constexpr Point kChannelImagePosition{50, 100};
inline constexpr Rect kChannelNameRect{20, 85, 180, 105};
inline constexpr Point kMemberCountPosition{160, 168};
inline constexpr Point kChannelLabelPosition{18, 182};

// What the channel panel shows for a channel port and member count.
struct ChannelPanelContent {
    int channelImage = -1;      // slot of the channel-number bitmap drawn over the background; -1: none
    const char* name = nullptr; // UTF-8; null for a port outside the eleven channels
    char memberCount[12] = {};  // the count in decimal
};
ChannelPanelContent DescribeChannelPanel(int channelPort, int currentChannelCount);

// The UTF-8 name of a channel port, or null outside 30000..30010.
const char* ChannelName(int channelPort);
