#include "app/panel_layout.h"
#include "session/user_texts.h"

#include "net/voice_link.h"
#include "session/channels.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

constexpr Point kRingCentre{420, 380};
constexpr float kRingRadius = 40.0f;

static_assert(std::size(kChannelNames) == kChannelCount);

bool IsChannelPort(int channelPort) {
    return channelPort >= kFirstChannelPort && channelPort <= kLastChannelPort;
}

} // namespace

void SetLightStartStates(IndicatorLights& lights, Zones& zones) {
    for (const StatusLight& light : kStatusLights) {
        (lights.*light.state).store(kLedBlue, std::memory_order_relaxed);
    }
    for (auto& light : lights.ring) {
        light.store(kLedBlue, std::memory_order_relaxed);
    }
    zones.network = kNetworkZone;
}

Point RingLightPosition(int index) {
    // Single precision and truncation toward zero keep the lights exactly where the ring was designed.
    constexpr float kPi = std::numbers::pi_v<float>;
    const float theta = 2.0f * kPi - static_cast<float>(index) * kPi / 8.0f;
    return Point{kRingCentre.x + static_cast<int>(kRingRadius * std::sin(theta)),
                 kRingCentre.y + static_cast<int>(kRingRadius * std::cos(theta))};
}

std::array<int, kErrorLevelLightCount> ErrorLevelLights(int errorLevel) {
    std::array<int, kErrorLevelLightCount> lights;
    lights.fill(kLedDarkBlue);
    switch (errorLevel) {
    case 0:
    case 1:
    case 2:
        lights[static_cast<std::size_t>(errorLevel)] = kLedGreen;
        break;
    case 3:
        lights[3] = kLedYellow;
        break;
    case 4:
        lights[4] = kLedRed;
        break;
    case kErrorLevelNothingReceived:
        lights.fill(kLedRed);
        break;
    default:
        break;
    }
    return lights;
}

const char* ChannelName(int channelPort) {
    return IsChannelPort(channelPort) ? kChannelNames[ChannelOfPort(channelPort)] : nullptr;
}

ChannelPanelContent DescribeChannelPanel(int channelPort, int currentChannelCount) {
    ChannelPanelContent content;
    if (IsChannelPort(channelPort) && channelPort != kFirstChannelPort) {
        content.channelImage = ChannelOfPort(channelPort);
    }
    content.name = ChannelName(channelPort);
    std::snprintf(content.memberCount, sizeof content.memberCount, "%d", currentChannelCount);
    return content;
}
