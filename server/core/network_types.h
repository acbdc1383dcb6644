#pragma once

#include "endpoint.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace zelvora::network {

// Identifies a member: a real client by its voice socket's address and port, a simulated one by channel
// and account. Never 0, which stands for nobody.
using MemberKey = std::uint64_t;
inline constexpr MemberKey kNobody = 0;

inline MemberKey RealMemberKey(Endpoint from) {
    return (MemberKey{1} << 62) | (MemberKey{from.address} << 16) | from.port;
}

inline MemberKey SimulatedMemberKey(int channel, std::uint16_t account) {
    return (MemberKey{1} << 63) | (static_cast<MemberKey>(channel) << 16) | account;
}

struct NetworkSettings {
    // One relayed datagram per client per tick: a payload is 31.25 ms of sound.
    Micros tick = 31'250;
    // A talker keeps the channel this long after its last audio datagram.
    Micros holdTime = 300'000;
    // A client whose presence stream stops this long has left.
    Micros leaveAfter = 3'000'000;
    std::size_t maxMembers = 1024;
    std::size_t maxMembersPerChannel = 256;
    // Every client hears this level instead of its own link's: a bench holds its clients at one presence
    // pace.
    std::optional<int> fixedErrorLevel;
};

enum class PortKind { Voice, Supervisor };

// Where the core's datagrams go; the event loop sends them from the socket of that kind and channel.
class Outbox {
  public:
    virtual ~Outbox() = default;
    virtual void Send(PortKind kind, int channel, Endpoint to, std::span<const std::uint8_t> bytes) = 0;
};

// One line per join, leave, talk start and stop, greeting and notice.
class EventLog {
  public:
    virtual ~EventLog() = default;
    virtual void Line(const std::string& text) = 0;
};

} // namespace zelvora::network
