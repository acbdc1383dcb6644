#include "control_protocol.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <limits>

namespace zelvora::network {
namespace {

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(' ', at);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(line.find(' ', start), line.size());
        words.push_back(line.substr(start, end - start));
        at = end;
    }
    return words;
}

std::optional<std::uint64_t> Number(std::string_view word, std::uint64_t max) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc{} || end != word.data() + word.size() || value > max) {
        return std::nullopt;
    }
    return value;
}

// "2.50 s": how long whole payloads of the voice format play.
std::string SoundSeconds(std::size_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", static_cast<double>(bytes) / kVoiceBytesPerSecond);
    return text;
}

ParsedControlLine Fail(std::string why) {
    return {std::nullopt, std::move(why)};
}

// "CHANNEL ACCOUNT" after the verb.
bool ParseMember(const std::vector<std::string_view>& words, ControlRequest& request, std::string& error) {
    const auto channel = Number(words[1], kChannelCount - 1);
    const auto account = Number(words[2], std::numeric_limits<std::uint16_t>::max());
    if (!channel) {
        error = "channel must be 0 to 10";
        return false;
    }
    if (!account) {
        error = "account must be 0 to 65535";
        return false;
    }
    request.channel = static_cast<int>(*channel);
    request.account = static_cast<std::uint16_t>(*account);
    return true;
}

} // namespace

ParsedControlLine ParseControlLine(std::string_view line) {
    if (line.size() > kMaxControlLineBytes) {
        return Fail("request too long");
    }
    const auto words = Words(line);
    if (words.empty()) {
        return Fail("empty request");
    }
    ControlRequest request;
    std::string error;
    const std::string_view verb = words[0];
    if ((verb == "members" || verb == "stats") && words.size() == 1) {
        request.verb = verb == "members" ? ControlVerb::Members : ControlVerb::Stats;
        return {request, {}};
    }
    if (verb == "notice" && words.size() == 3) {
        request.verb = ControlVerb::Notice;
        const auto code = Number(words[1], 255);
        if (!code || (*code != kNoticeUpdateRequired && *code != kNoticeClosing)) {
            return Fail("notice code must be 220 or 240");
        }
        request.noticeCode = static_cast<std::uint8_t>(*code);
        request.toAll = words[2] == "all";
        if (!request.toAll) {
            const auto account = Number(words[2], std::numeric_limits<std::uint16_t>::max());
            if (!account) {
                return Fail("notice target must be an account 0 to 65535 or all");
            }
            request.account = static_cast<std::uint16_t>(*account);
        }
        return {request, {}};
    }
    if ((verb == "add-member" || verb == "remove-member") && words.size() == 3) {
        request.verb = verb == "add-member" ? ControlVerb::AddMember : ControlVerb::RemoveMember;
        if (!ParseMember(words, request, error)) {
            return Fail(error);
        }
        return {request, {}};
    }
    if (verb == "speak" && words.size() == 4) {
        request.verb = ControlVerb::Speak;
        if (!ParseMember(words, request, error)) {
            return Fail(error);
        }
        const auto bytes = Number(words[3], kMaxSoundBytes);
        if (!bytes || *bytes == 0 || *bytes % kPayloadBytes != 0) {
            return Fail("sound must be 1 to 1920 whole payloads of 1000 bytes");
        }
        request.soundBytes = static_cast<std::size_t>(*bytes);
        return {request, {}};
    }
    return Fail("unknown request: " + std::string(verb));
}

std::string FormatControlLine(const ControlRequest& request) {
    std::string member(" ");
    member += std::to_string(request.channel);
    member += ' ';
    member += std::to_string(request.account);
    switch (request.verb) {
    case ControlVerb::Members:
        return "members";
    case ControlVerb::Stats:
        return "stats";
    case ControlVerb::Notice:
        return "notice " + std::to_string(request.noticeCode) + " " +
               (request.toAll ? std::string("all") : std::to_string(request.account));
    case ControlVerb::AddMember:
        return "add-member" + member;
    case ControlVerb::RemoveMember:
        return "remove-member" + member;
    case ControlVerb::Speak:
        return "speak" + member + " " + std::to_string(request.soundBytes);
    }
    return {};
}

std::string FormatMembers(const std::vector<MemberView>& members) {
    std::array<std::size_t, kChannelCount> counts{};
    for (const MemberView& member : members) {
        ++counts[member.channel];
    }
    std::string text;
    std::size_t next = 0;
    for (int channel = 0; channel < kChannelCount; ++channel) {
        text += "channel " + std::to_string(channel) + " members " + std::to_string(counts[channel]) + "\n";
        for (; next < members.size() && members[next].channel == channel; ++next) {
            const MemberView& member = members[next];
            text += "member " + std::to_string(channel) + " " + std::to_string(member.account) + " ";
            if (member.simulated) {
                text += "simulated";
            } else {
                text += FormatEndpoint(member.from) + " error " + std::to_string(member.errorLevel) +
                        " relay " + std::to_string(member.relayByte);
            }
            text += member.talking ? " talking\n" : "\n";
        }
    }
    return text;
}

std::string ExecuteControl(Network& network, const ControlRequest& request, std::vector<std::uint8_t> sound,
                           Micros now) {
    std::string error;
    std::string listing;
    const std::string member = std::to_string(request.account);
    const std::string channel = std::to_string(request.channel);
    switch (request.verb) {
    case ControlVerb::Members:
        listing = FormatMembers(network.Members(now));
        break;
    case ControlVerb::Stats:
        listing = FormatCounters(network.counters());
        break;
    case ControlVerb::Notice: {
        const std::size_t targeted = network.PostNotice(
            request.noticeCode, request.toAll ? std::nullopt : std::optional<std::uint16_t>(request.account));
        if (targeted == 0 && !request.toAll) {
            error = "no client with account " + std::to_string(request.account);
        }
        listing = "notice " + std::to_string(request.noticeCode) + " queued for " + std::to_string(targeted) +
                  (targeted == 1 ? " client\n" : " clients\n");
        break;
    }
    case ControlVerb::AddMember:
        error = network.AddSimulated(request.channel, request.account);
        listing = "simulated member " + member + " added to channel " + channel + "\n";
        break;
    case ControlVerb::RemoveMember:
        error = network.RemoveSimulated(request.channel, request.account, now);
        listing = "simulated member " + member + " removed from channel " + channel + "\n";
        break;
    case ControlVerb::Speak: {
        const std::string duration = SoundSeconds(sound.size());
        error = network.Speak(request.channel, request.account, std::move(sound), now);
        listing = "simulated member " + member + " speaks " + duration + " on channel " + channel + "\n";
        break;
    }
    }
    return error.empty() ? "ok\n" + listing : "error " + error + "\n";
}

} // namespace zelvora::network
