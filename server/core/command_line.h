#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zelvora::network {

enum class Subcommand { Help, Serve, Members, Stats, Notice, AddMember, RemoveMember, Speak };

struct CommandLine {
    Subcommand subcommand = Subcommand::Help;
    // serve
    std::uint32_t address = 0x7F000001;
    int portBase = 30000;
    std::size_t maxMembers = 1024;
    std::size_t maxMembersPerChannel = 256;
    std::optional<int> fixedErrorLevel;
    // serve and the operator subcommands; 0 lets serve pick a free port and print it
    int controlPort = 32000;
    // operator subcommands
    int channel = 0;
    std::uint16_t account = 0;
    std::uint8_t noticeCode = 0;
    bool toAll = true;
    std::string wavPath;
    double toneHz = 0;
    double toneSeconds = 0;
};

struct ParsedCommandLine {
    std::optional<CommandLine> commandLine;
    std::string error;
};

// args: the words after the program name.
ParsedCommandLine ParseCommandLine(std::span<const std::string_view> args);
std::optional<std::uint32_t> ParseIpv4(std::string_view text);
std::string_view UsageText();

} // namespace zelvora::network
