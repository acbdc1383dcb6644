#include "command_line.h"

#include <charconv>
#include <limits>
#include <map>

namespace zelvora::network {
namespace {

constexpr std::string_view kUsage =
    R"(zelvora-network: the voice relay, supervisor and operator tool of a Zelvora network

  zelvora-network serve [--address A] [--port-base P] [--control C] [--max-members N] [--max-per-channel N]
                        [--error-level L]
      Relay voice on UDP ports P..P+10 (channels 0 to 10) and answer the supervisor on P+1000..P+1010,
      all bound to address A (default 127.0.0.1, port base 30000). The operator interface listens on
      127.0.0.1 TCP port C only (default 32000; 0 picks a free port, printed at start). At most N members
      in all (default 1024) and per channel (default 256). --error-level tells every client the level L
      (0 to 4) instead of its own link's, so that all pace their presence alike (for benches). Stops cleanly
      on SIGINT or SIGTERM.

  zelvora-network members [--control C]
      Lists every channel's members in arrival order: account, client address, error level, relay byte.
  zelvora-network stats [--control C]
      Prints the datagram counters, drops included.
  zelvora-network notice 220|240 [--to ACCOUNT|all] [--control C]
      Answers the next status request of the targeted clients (default all) with the notice code, once:
      220 = update required, 240 = the network closes the client.
  zelvora-network add-member --channel K --account N [--control C]
  zelvora-network remove-member --channel K --account N [--control C]
      Adds or removes a simulated member, listed on channel K like a client.
  zelvora-network speak --channel K --account N (--wav FILE | --tone HZ --seconds S) [--control C]
      The simulated member N takes the floor of channel K and speaks, in real time, a WAVE file (8- or
      16-bit PCM, mono or stereo, any rate, at most 60 s) or a tone; returns once it has been played.

  zelvora-network --help
      This text.
)";

template <typename Number> std::optional<Number> ParseNumber(std::string_view text, Number min, Number max) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseDecimal(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

const std::map<std::string_view, Subcommand> kSubcommands = {
    {"serve", Subcommand::Serve},
    {"members", Subcommand::Members},
    {"stats", Subcommand::Stats},
    {"notice", Subcommand::Notice},
    {"add-member", Subcommand::AddMember},
    {"remove-member", Subcommand::RemoveMember},
    {"speak", Subcommand::Speak},
    {"--help", Subcommand::Help},
    {"-h", Subcommand::Help},
    {"help", Subcommand::Help},
};

// Which options each subcommand takes.
bool Accepts(Subcommand subcommand, std::string_view option) {
    if (option == "--control") {
        return subcommand != Subcommand::Help;
    }
    switch (subcommand) {
    case Subcommand::Serve:
        return option == "--address" || option == "--port-base" || option == "--max-members" ||
               option == "--max-per-channel" || option == "--error-level";
    case Subcommand::Notice:
        return option == "--to";
    case Subcommand::AddMember:
    case Subcommand::RemoveMember:
        return option == "--channel" || option == "--account";
    case Subcommand::Speak:
        return option == "--channel" || option == "--account" || option == "--wav" || option == "--tone" ||
               option == "--seconds";
    default:
        return false;
    }
}

ParsedCommandLine Fail(std::string why) {
    return {std::nullopt, std::move(why)};
}

// Stores one option's value; returns an error text or nothing.
std::string Apply(CommandLine& line, std::string_view option, std::string_view value) {
    if (option == "--address") {
        const auto address = ParseIpv4(value);
        if (!address) {
            return "--address wants an IPv4 address like 127.0.0.1";
        }
        line.address = *address;
    } else if (option == "--port-base") {
        const auto base = ParseNumber(value, 1, 65535 - 1010);
        if (!base) {
            return "--port-base wants a port from 1 to 64525";
        }
        line.portBase = *base;
    } else if (option == "--control") {
        const auto port = ParseNumber(value, 0, 65535);
        if (!port) {
            return "--control wants a TCP port from 0 to 65535";
        }
        line.controlPort = *port;
    } else if (option == "--max-members" || option == "--max-per-channel") {
        const auto count = ParseNumber<std::size_t>(value, 1, 100000);
        if (!count) {
            return std::string(option) + " wants a count from 1 to 100000";
        }
        (option == "--max-members" ? line.maxMembers : line.maxMembersPerChannel) = *count;
    } else if (option == "--error-level") {
        const auto level = ParseNumber(value, 0, 4);
        if (!level) {
            return "--error-level wants a level from 0 to 4";
        }
        line.fixedErrorLevel = *level;
    } else if (option == "--to") {
        line.toAll = value == "all";
        if (!line.toAll) {
            const auto account = ParseNumber<int>(value, 0, std::numeric_limits<std::uint16_t>::max());
            if (!account) {
                return "--to wants an account from 0 to 65535, or all";
            }
            line.account = static_cast<std::uint16_t>(*account);
        }
    } else if (option == "--channel") {
        const auto channel = ParseNumber(value, 0, 10);
        if (!channel) {
            return "--channel wants a channel from 0 to 10";
        }
        line.channel = *channel;
    } else if (option == "--account") {
        const auto account = ParseNumber<int>(value, 0, std::numeric_limits<std::uint16_t>::max());
        if (!account) {
            return "--account wants an account from 0 to 65535";
        }
        line.account = static_cast<std::uint16_t>(*account);
    } else if (option == "--wav") {
        line.wavPath = std::string(value);
    } else if (option == "--tone" || option == "--seconds") {
        const auto number = ParseDecimal(value);
        if (!number) {
            return std::string(option) + " wants a number";
        }
        (option == "--tone" ? line.toneHz : line.toneSeconds) = *number;
    }
    return {};
}

} // namespace

std::optional<std::uint32_t> ParseIpv4(std::string_view text) {
    std::uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = part < 3 ? text.find('.') : text.size();
        if (dot == std::string_view::npos || dot == 0 || dot > 3) {
            return std::nullopt;
        }
        const auto value = ParseNumber(text.substr(0, dot), 0, 255);
        if (!value) {
            return std::nullopt;
        }
        address = (address << 8) | static_cast<std::uint32_t>(*value);
        text.remove_prefix(part < 3 ? dot + 1 : dot);
    }
    return address;
}

std::string_view UsageText() {
    return kUsage;
}

ParsedCommandLine ParseCommandLine(std::span<const std::string_view> args) {
    CommandLine line;
    if (args.empty()) {
        return {line, {}};
    }
    const auto subcommand = kSubcommands.find(args[0]);
    if (subcommand == kSubcommands.end()) {
        return Fail("unknown subcommand " + std::string(args[0]));
    }
    line.subcommand = subcommand->second;
    std::size_t next = 1;
    if (line.subcommand == Subcommand::Notice) {
        const auto code = next < args.size() ? ParseNumber<int>(args[next], 0, 255) : std::nullopt;
        if (!code || (*code != 220 && *code != 240)) {
            return Fail("notice wants the code 220 or 240");
        }
        line.noticeCode = static_cast<std::uint8_t>(*code);
        ++next;
    }
    std::map<std::string_view, bool> seen;
    for (; next < args.size(); next += 2) {
        const std::string_view option = args[next];
        if (option == "--help" || option == "-h") {
            line.subcommand = Subcommand::Help;
            return {line, {}};
        }
        if (!Accepts(line.subcommand, option)) {
            return Fail(std::string(args[0]) + " does not take " + std::string(option));
        }
        if (next + 1 >= args.size()) {
            return Fail(std::string(option) + " wants a value");
        }
        if (const std::string error = Apply(line, option, args[next + 1]); !error.empty()) {
            return Fail(error);
        }
        seen[option] = true;
    }

    const bool member = line.subcommand == Subcommand::AddMember ||
                        line.subcommand == Subcommand::RemoveMember || line.subcommand == Subcommand::Speak;
    if (member && (!seen["--channel"] || !seen["--account"])) {
        return Fail(std::string(args[0]) + " wants --channel and --account");
    }
    if (line.subcommand == Subcommand::Speak) {
        const bool wav = seen["--wav"];
        const bool tone = seen["--tone"] || seen["--seconds"];
        if (wav == tone || (tone && (!seen["--tone"] || !seen["--seconds"]))) {
            return Fail("speak wants either --wav FILE or --tone HZ --seconds S");
        }
    }
    return {line, {}};
}

} // namespace zelvora::network
