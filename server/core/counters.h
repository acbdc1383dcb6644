#pragma once

#include <cstdint>
#include <string>

namespace zelvora::network {

struct Counters {
    // Accepted datagrams.
    std::uint64_t greetings = 0;
    std::uint64_t presence = 0;
    std::uint64_t audio = 0;
    std::uint64_t listRequests = 0;
    std::uint64_t statusRequests = 0;
    // Dropped before use: malformed.
    std::uint64_t wrongSize = 0;
    std::uint64_t unknownKind = 0;
    std::uint64_t badField = 0;
    std::uint64_t badChannel = 0;
    // Dropped by the network's rules.
    std::uint64_t notMember = 0;
    std::uint64_t audioWrongChannel = 0;
    std::uint64_t duplicateAudio = 0;
    std::uint64_t floorBusy = 0;
    std::uint64_t membersFull = 0;
    std::uint64_t echoOverflow = 0;
    // Not sent: the member had used the credit its presence datagrams give (see Network).
    std::uint64_t withheldNoPresence = 0;
    // Sent.
    std::uint64_t relayed = 0;
    std::uint64_t relayedSpeech = 0;
    std::uint64_t listReplies = 0;
    std::uint64_t statusReplies = 0;
    std::uint64_t noticesDelivered = 0;
    // Counted by the event loop.
    std::uint64_t sendFailures = 0;
    std::uint64_t lateTicks = 0;
    // How long the relay ticks take, sends included: the last client of a tick gets its datagram this
    // long after the first.
    std::uint64_t ticks = 0;
    std::uint64_t tickMicrosTotal = 0;
    std::uint64_t tickMicrosMax = 0;
};

// "name value" lines, one per counter.
std::string FormatCounters(const Counters& counters);

} // namespace zelvora::network
