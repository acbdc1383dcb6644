#pragma once

// The operator's requests, as the command-line tool sends them over the loopback control connection: one
// text line, then for "speak" the sound itself. The reply is "ok" or "error <why>" on its first line, then
// the listing if any, and the connection closes.

#include "network.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvora::network {

inline constexpr std::size_t kMaxControlLineBytes = 128;
// 8000 Hz stereo 16-bit sound: a payload lasts 31.25 ms.
inline constexpr double kVoiceBytesPerSecond = 32000;
// A minute of it.
inline constexpr std::size_t kMaxSoundBytes = 1920 * kPayloadBytes;

enum class ControlVerb { Members, Stats, Notice, AddMember, RemoveMember, Speak };

struct ControlRequest {
    ControlVerb verb = ControlVerb::Members;
    int channel = 0;
    std::uint16_t account = 0;
    std::uint8_t noticeCode = 0;
    bool toAll = false;
    // Speak: how many bytes of 8000 Hz stereo 16-bit sound follow the line.
    std::size_t soundBytes = 0;
};

struct ParsedControlLine {
    std::optional<ControlRequest> request;
    std::string error;
};

// line is without its newline.
ParsedControlLine ParseControlLine(std::string_view line);
std::string FormatControlLine(const ControlRequest& request);
// Carries out the request; sound is the bytes that followed a speak line.
std::string ExecuteControl(Network& network, const ControlRequest& request, std::vector<std::uint8_t> sound,
                           Micros now);
std::string FormatMembers(const std::vector<MemberView>& members);

} // namespace zelvora::network
