#include "network.h"

#include "wire.h"

#include <algorithm>

namespace zelvora::network {
namespace {

// Relayed datagrams paid by one presence datagram, and the most a member may bank: enough for the relay's
// catch-up after a stall and a talker's burst, never a stream.
constexpr std::uint8_t kCreditPerPresence = 2;
constexpr std::uint8_t kMaxCredit = 16;

bool ValidChannel(int channel) {
    return channel >= 0 && channel < kChannelCount;
}

std::uint64_t TagIndex(std::uint32_t address, std::uint8_t tag) {
    return (std::uint64_t{address} << 8) | tag;
}

void CountMalformation(Malformation why, Counters& counters) {
    switch (why) {
    case Malformation::WrongSize:
        ++counters.wrongSize;
        break;
    case Malformation::UnknownKind:
        ++counters.unknownKind;
        break;
    case Malformation::BadField:
        ++counters.badField;
        break;
    case Malformation::None:
        break;
    }
}

} // namespace

Network::Network(const NetworkSettings& settings, EventLog& log) : settings_(settings), log_(log) {
    for (int channel = 0; channel < kChannelCount; ++channel) {
        floors_.push_back(std::make_unique<ChannelFloor>(channel, settings_, log_, counters_));
    }
}

std::string Network::Describe(const Member& member) const {
    return "channel " + std::to_string(member.channel) + " account " + std::to_string(member.account) + " " +
           (member.simulated ? std::string("simulated") : FormatEndpoint(member.from));
}

void Network::OnVoiceDatagram(int channel, Endpoint from, std::span<const std::uint8_t> bytes, Micros now,
                              Outbox& out) {
    if (!ValidChannel(channel)) {
        ++counters_.badChannel;
        return;
    }
    const VoiceDatagram datagram = DecodeVoiceDatagram(bytes);
    if (datagram.malformation != Malformation::None) {
        CountMalformation(datagram.malformation, counters_);
        return;
    }
    switch (datagram.kind) {
    case VoiceKind::Greeting:
        ++counters_.greetings;
        log_.Line("greeting " + FormatEndpoint(from) +
                  (datagram.fromSupervisorSocket ? " (supervisor socket)" : " (voice socket)"));
        break;
    case VoiceKind::Presence:
        ++counters_.presence;
        OnPresence(channel, from, datagram.account, now);
        break;
    case VoiceKind::Audio:
        OnAudio(channel, from, datagram.account, datagram.sequence, datagram.payload, now, out);
        break;
    }
}

bool Network::HasRoom(int channel) const {
    return members_.size() < settings_.maxMembers &&
           rosters_[channel].size() < settings_.maxMembersPerChannel;
}

std::uint8_t Network::FreeRelayTag(std::uint32_t address) const {
    for (int tag = 1; tag <= 255; ++tag) {
        if (!tags_.contains(TagIndex(address, static_cast<std::uint8_t>(tag)))) {
            return static_cast<std::uint8_t>(tag);
        }
    }
    return 0; // more than 255 clients behind one address: this one cannot be told apart for notices
}

Network::Member* Network::Join(MemberKey key, int channel, std::uint16_t account, Endpoint from,
                               bool simulated) {
    Member& member = members_[key];
    member.key = key;
    member.simulated = simulated;
    member.from = from;
    member.account = account;
    member.channel = channel;
    if (!simulated) {
        member.relayTag = FreeRelayTag(from.address);
        if (member.relayTag != 0) {
            tags_[TagIndex(from.address, member.relayTag)] = key;
        }
    }
    rosters_[channel].push_back(key);
    log_.Line("join " + Describe(member));
    return &member;
}

void Network::Leave(Member& member, const std::string& why, Micros now) {
    floors_[member.channel]->Forget(member.key, now);
    auto& roster = rosters_[member.channel];
    roster.erase(std::find(roster.begin(), roster.end(), member.key));
    log_.Line("leave " + Describe(member) + " (" + why + ")");
}

void Network::Remove(MemberKey key) {
    const auto found = members_.find(key);
    if (found->second.relayTag != 0) {
        tags_.erase(TagIndex(found->second.from.address, found->second.relayTag));
    }
    members_.erase(found);
}

void Network::OnPresence(int channel, Endpoint from, std::uint16_t account, Micros now) {
    const MemberKey key = RealMemberKey(from);
    auto found = members_.find(key);
    Member* member = nullptr;
    if (found == members_.end()) {
        if (!HasRoom(channel)) {
            ++counters_.membersFull;
            return;
        }
        member = Join(key, channel, account, from, false);
    } else {
        member = &found->second;
        if (member->channel != channel) {
            if (rosters_[channel].size() >= settings_.maxMembersPerChannel) {
                ++counters_.membersFull;
                return;
            }
            Leave(*member, "moved to channel " + std::to_string(channel), now);
            member->channel = channel;
            rosters_[channel].push_back(key);
            log_.Line("join " + Describe(*member));
        }
    }
    if (member->account != account) {
        // Clients announce themselves before their account is known, then switch to it.
        log_.Line("account " + Describe(*member) + " now " + std::to_string(account));
        member->account = account;
    }
    member->lastSeen = now;
    member->quality.Record(now);
    member->credit =
        static_cast<std::uint8_t>(std::min(member->credit + kCreditPerPresence, int{kMaxCredit}));
}

void Network::OnAudio(int channel, Endpoint from, std::uint16_t account, std::uint8_t sequence,
                      std::span<const std::uint8_t> payload, Micros now, Outbox& out) {
    const auto found = members_.find(RealMemberKey(from));
    if (found == members_.end()) {
        ++counters_.notMember;
        return;
    }
    Member& member = found->second;
    if (member.channel != channel) {
        ++counters_.audioWrongChannel;
        return;
    }
    if (sequence == member.lastAudioSequence) {
        ++counters_.duplicateAudio;
        return;
    }
    member.lastAudioSequence = sequence;
    member.lastSeen = now;
    ChannelFloor& floor = *floors_[channel];
    if (!floor.OfferAudio(member.key, account, FormatEndpoint(from), payload, now)) {
        ++counters_.floorBusy;
        return;
    }
    ++counters_.audio;
    for (const MemberKey key : rosters_[channel]) {
        Member& listener = members_.at(key);
        if (key != member.key && !listener.simulated) {
            RelayTo(listener, payload, floor.HolderAccount(), now, out);
        }
    }
}

void Network::OnSupervisorDatagram(int channel, Endpoint from, std::span<const std::uint8_t> bytes,
                                   Outbox& out) {
    if (!ValidChannel(channel)) {
        ++counters_.badChannel;
        return;
    }
    const SupervisorRequest request = DecodeSupervisorRequest(bytes);
    if (request.malformation != Malformation::None) {
        CountMalformation(request.malformation, counters_);
        return;
    }
    if (request.kind == SupervisorKind::ListRequest) {
        OnListRequest(channel, from, out);
    } else {
        OnStatusRequest(channel, from, request.relayByte, out);
    }
}

void Network::OnListRequest(int channel, Endpoint from, Outbox& out) {
    ++counters_.listRequests;
    std::array<std::uint16_t, kMaxListedMembers> accounts{};
    const auto& roster = rosters_[channel];
    const std::size_t count = std::min(roster.size(), kMaxListedMembers);
    for (std::size_t i = 0; i < count; ++i) {
        accounts[i] = members_.at(roster[i]).account;
    }
    std::array<std::uint8_t, kListReplyMaxBytes> reply{};
    const std::size_t length = EncodeListReply(channel, std::span(accounts).first(count), reply);
    out.Send(PortKind::Supervisor, channel, from, std::span(reply).first(length));
    ++counters_.listReplies;
}

void Network::OnStatusRequest(int channel, Endpoint from, std::uint8_t relayByte, Outbox& out) {
    ++counters_.statusRequests;
    std::uint8_t code = kNoticeNone;
    const auto tagged = tags_.find(TagIndex(from.address, relayByte));
    if (relayByte != 0 && tagged != tags_.end()) {
        Member& member = members_.at(tagged->second);
        if (member.pendingNotice != kNoticeNone) {
            code = member.pendingNotice;
            member.pendingNotice = kNoticeNone;
            ++counters_.noticesDelivered;
            log_.Line("notice " + std::to_string(code) + " delivered to " + Describe(member) + " via " +
                      FormatEndpoint(from));
        }
    }
    const auto reply = EncodeStatusReply(code);
    out.Send(PortKind::Supervisor, channel, from, reply);
    ++counters_.statusReplies;
}

void Network::ExpireSilent(Micros now) {
    expired_.clear();
    for (const auto& [key, member] : members_) {
        if (!member.simulated && now - member.lastSeen >= settings_.leaveAfter) {
            expired_.push_back(key);
        }
    }
    for (const MemberKey key : expired_) {
        Leave(members_.at(key), "silent", now);
        Remove(key);
    }
}

int Network::ErrorLevelOf(const Member& member, Micros now) const {
    return settings_.fixedErrorLevel ? *settings_.fixedErrorLevel : member.quality.ErrorLevel(now);
}

void Network::RelayTo(Member& member, std::span<const std::uint8_t> payload, std::uint16_t speaker,
                      Micros now, Outbox& out) {
    if (member.credit == 0) {
        ++counters_.withheldNoPresence;
        return;
    }
    --member.credit;
    if (!payload.empty()) {
        member.lastHeard = speaker;
    }
    RelayHeader header;
    header.sequence = member.nextSequence;
    header.relayByte = member.relayTag;
    header.speaker = member.lastHeard;
    header.errorLevel = static_cast<std::uint8_t>(ErrorLevelOf(member, now));
    member.nextSequence = static_cast<std::uint8_t>(member.nextSequence % 255 + 1);

    std::array<std::uint8_t, kAudioDatagramBytes> datagram;
    const std::size_t length = EncodeRelayDatagram(header, payload, datagram);
    out.Send(PortKind::Voice, member.channel, member.from, std::span(datagram).first(length));
    ++counters_.relayed;
    if (!payload.empty()) {
        ++counters_.relayedSpeech;
    }
}

void Network::Tick(Micros now, Outbox& out) {
    ExpireSilent(now);
    for (int channel = 0; channel < kChannelCount; ++channel) {
        const ChannelFloor::Output output = floors_[channel]->Tick(now);
        for (const MemberKey key : rosters_[channel]) {
            Member& member = members_.at(key);
            if (member.simulated || (output.liveTalker != kNobody && key != output.liveTalker)) {
                continue;
            }
            const bool hears = output.only == kNobody || output.only == key;
            RelayTo(member, hears ? output.payload : std::span<const std::uint8_t>{}, output.speaker, now,
                    out);
        }
    }
}

std::string Network::AddSimulated(int channel, std::uint16_t account) {
    if (!ValidChannel(channel)) {
        return "channel must be 0 to 10";
    }
    const MemberKey key = SimulatedMemberKey(channel, account);
    if (members_.contains(key)) {
        return "simulated member " + std::to_string(account) + " is already on channel " +
               std::to_string(channel);
    }
    if (!HasRoom(channel)) {
        ++counters_.membersFull;
        return "no room on channel " + std::to_string(channel);
    }
    Join(key, channel, account, Endpoint{}, true);
    return {};
}

std::string Network::RemoveSimulated(int channel, std::uint16_t account, Micros now) {
    if (!ValidChannel(channel)) {
        return "channel must be 0 to 10";
    }
    const auto found = members_.find(SimulatedMemberKey(channel, account));
    if (found == members_.end()) {
        return "no simulated member " + std::to_string(account) + " on channel " + std::to_string(channel);
    }
    Leave(found->second, "removed", now);
    Remove(found->first);
    return {};
}

std::string Network::Speak(int channel, std::uint16_t account, std::vector<std::uint8_t> pcm, Micros now) {
    if (!ValidChannel(channel)) {
        return "channel must be 0 to 10";
    }
    const MemberKey key = SimulatedMemberKey(channel, account);
    if (!members_.contains(key)) {
        return "no simulated member " + std::to_string(account) + " on channel " + std::to_string(channel);
    }
    if (pcm.empty() || pcm.size() % kPayloadBytes != 0) {
        return "sound must be whole 1000-byte payloads";
    }
    ChannelFloor& floor = *floors_[channel];
    if (!floor.StartClip({key, account, "simulated"}, std::move(pcm), now)) {
        return "channel " + std::to_string(channel) + " is busy: account " +
               std::to_string(floor.HolderAccount()) + " has the floor";
    }
    return {};
}

std::size_t Network::PostNotice(std::uint8_t code, std::optional<std::uint16_t> account) {
    std::size_t targeted = 0;
    for (auto& [key, member] : members_) {
        if (!member.simulated && (!account || member.account == *account)) {
            member.pendingNotice = code;
            ++targeted;
        }
    }
    log_.Line("notice " + std::to_string(code) + " queued for " + std::to_string(targeted) + " client(s)" +
              (account ? " with account " + std::to_string(*account) : std::string(", all")));
    return targeted;
}

std::vector<MemberView> Network::Members(Micros now) const {
    std::vector<MemberView> views;
    for (int channel = 0; channel < kChannelCount; ++channel) {
        for (const MemberKey key : rosters_[channel]) {
            const Member& member = members_.at(key);
            MemberView view;
            view.channel = channel;
            view.account = member.account;
            view.simulated = member.simulated;
            view.from = member.from;
            view.errorLevel = member.simulated ? 0 : ErrorLevelOf(member, now);
            view.relayByte = member.relayTag;
            view.talking = floors_[channel]->Holder() == key;
            views.push_back(view);
        }
    }
    return views;
}

} // namespace zelvora::network
