#pragma once

#include "session/channel_members.h"
#include "session/channels.h"
#include "session/indicator_lights.h"
#include "session/push_to_talk.h"

#include <atomic>

inline constexpr int kPcIdentifierBytes = 20;

// What the subsystems share: start-up creates it once and hands it to every thread that reads or writes it.
struct SharedState {
    char pcIdentifier[kPcIdentifierBytes] = {};      // start-up reads it before any thread starts
    std::atomic<int> accountNumber{0};               // the web identification's answer; 0 until it comes
    std::atomic<int> channelPort{kFirstChannelPort}; // the main window's channel keys
    PushToTalk pushToTalk;
    IndicatorLights lights;
    ChannelMembers channelMembers; // the supervisor thread's lists
};
