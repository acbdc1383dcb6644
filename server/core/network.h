#pragma once

#include "channel_floor.h"
#include "counters.h"
#include "network_types.h"
#include "presence_quality.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace zelvora::network {

// What the operator sees of one member.
struct MemberView {
    int channel = 0;
    std::uint16_t account = 0;
    bool simulated = false;
    Endpoint from;
    int errorLevel = 0;
    std::uint8_t relayByte = 0;
    bool talking = false;
};

// The whole network without its sockets: membership, floor control, the relay tick, the supervisor's
// replies and the operator's commands. Single-threaded; time comes in as an argument.
//
// A client is sent at most two relayed datagrams per presence datagram received from it (a credit, capped):
// a real client sends presence faster than the relay's 32 datagrams a second, while a presence with a forged
// source address draws two datagrams to that address and no more.
class Network {
  public:
    Network(const NetworkSettings& settings, EventLog& log);

    // channel: which of the eleven ports of that kind received the datagram. A talker's audio is passed on
    // to the channel's listeners at once.
    void OnVoiceDatagram(int channel, Endpoint from, std::span<const std::uint8_t> bytes, Micros now,
                         Outbox& out);
    void OnSupervisorDatagram(int channel, Endpoint from, std::span<const std::uint8_t> bytes, Outbox& out);
    // Every tick: drop silent members, then send each present client its relayed datagram for the tick,
    // except the listeners of a live talker, who hear it as it speaks.
    void Tick(Micros now, Outbox& out);

    // Operator commands; each returns an error text, empty on success.
    std::string AddSimulated(int channel, std::uint16_t account);
    std::string RemoveSimulated(int channel, std::uint16_t account, Micros now);
    std::string Speak(int channel, std::uint16_t account, std::vector<std::uint8_t> pcm, Micros now);
    // The next status request of each targeted client is answered with code, once. No account: everyone.
    // Returns how many clients were targeted.
    std::size_t PostNotice(std::uint8_t code, std::optional<std::uint16_t> account);

    // Members channel by channel, each channel in arrival order.
    std::vector<MemberView> Members(Micros now) const;
    Counters& counters() { return counters_; }
    const Counters& counters() const { return counters_; }

  private:
    struct Member {
        MemberKey key = kNobody;
        bool simulated = false;
        Endpoint from;
        std::uint16_t account = 0;
        int channel = 0;
        // Byte 2 of everything relayed to this client; it comes back in its status requests and tells
        // which member a supervisor socket belongs to.
        std::uint8_t relayTag = 0;
        std::uint8_t nextSequence = 1;
        std::uint8_t lastAudioSequence = 0;
        std::uint16_t lastHeard = 0;
        std::uint8_t pendingNotice = kNoticeNone;
        // Relayed datagrams its presence has paid for.
        std::uint8_t credit = 0;
        Micros lastSeen = 0;
        PresenceQuality quality;
    };

    void OnPresence(int channel, Endpoint from, std::uint16_t account, Micros now);
    void OnAudio(int channel, Endpoint from, std::uint16_t account, std::uint8_t sequence,
                 std::span<const std::uint8_t> payload, Micros now, Outbox& out);
    void OnStatusRequest(int channel, Endpoint from, std::uint8_t relayByte, Outbox& out);
    void OnListRequest(int channel, Endpoint from, Outbox& out);
    bool HasRoom(int channel) const;
    Member* Join(MemberKey key, int channel, std::uint16_t account, Endpoint from, bool simulated);
    void Leave(Member& member, const std::string& why, Micros now);
    void Remove(MemberKey key);
    void ExpireSilent(Micros now);
    std::uint8_t FreeRelayTag(std::uint32_t address) const;
    // The level a client is told: its own link's, unless the settings fix one for all.
    int ErrorLevelOf(const Member& member, Micros now) const;
    // Sends one relayed datagram: speech from speaker, or silence when payload is empty.
    void RelayTo(Member& member, std::span<const std::uint8_t> payload, std::uint16_t speaker, Micros now,
                 Outbox& out);
    std::string Describe(const Member& member) const;

    NetworkSettings settings_;
    EventLog& log_;
    Counters counters_;
    std::unordered_map<MemberKey, Member> members_;
    std::array<std::vector<MemberKey>, kChannelCount> rosters_;
    // (address << 8 | relay tag) -> member, for matching status requests.
    std::unordered_map<std::uint64_t, MemberKey> tags_;
    std::vector<std::unique_ptr<ChannelFloor>> floors_;
    std::vector<MemberKey> expired_;
};

} // namespace zelvora::network
