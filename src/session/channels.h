#pragma once

// Channel n (0..10) is voice port 30000 + n.
inline constexpr int kChannelCount = 11;
inline constexpr int kFirstChannelPort = 30000;
inline constexpr int kLastChannelPort = kFirstChannelPort + kChannelCount - 1;

// The channel number 0..10 of a channel port.
constexpr int ChannelOfPort(int channelPort) {
    return channelPort - kFirstChannelPort;
}
