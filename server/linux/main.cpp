// zelvora-network: serves a Zelvora network, or talks to a running one as its operator.

#include "control_client.h"
#include "core/command_line.h"
#include "core/control_protocol.h"
#include "core/sound_clip.h"
#include "relay_server.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <string_view>
#include <vector>

using namespace zelvora::network;

namespace {

// Larger files than this are not read: a minute of any supported WAVE format fits easily.
constexpr std::size_t kMaxWavFileBytes = 64 << 20;

SoundClip LoadSound(const CommandLine& line) {
    if (line.wavPath.empty()) {
        return MakeTone(line.toneHz, line.toneSeconds);
    }
    std::FILE* file = std::fopen(line.wavPath.c_str(), "rb");
    if (file == nullptr) {
        return {{}, "cannot open " + line.wavPath + ": " + std::strerror(errno)};
    }
    std::vector<std::uint8_t> bytes(kMaxWavFileBytes);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    const bool failed = std::ferror(file) != 0;
    const int why = errno;
    std::fclose(file);
    if (failed) {
        return {{}, "cannot read " + line.wavPath + ": " + std::strerror(why)};
    }
    return ConvertWav(bytes);
}

ControlRequest RequestFor(const CommandLine& line) {
    ControlRequest request;
    request.channel = line.channel;
    request.account = line.account;
    request.noticeCode = line.noticeCode;
    request.toAll = line.toAll;
    switch (line.subcommand) {
    case Subcommand::Stats:
        request.verb = ControlVerb::Stats;
        break;
    case Subcommand::Notice:
        request.verb = ControlVerb::Notice;
        break;
    case Subcommand::AddMember:
        request.verb = ControlVerb::AddMember;
        break;
    case Subcommand::RemoveMember:
        request.verb = ControlVerb::RemoveMember;
        break;
    case Subcommand::Speak:
        request.verb = ControlVerb::Speak;
        break;
    default:
        request.verb = ControlVerb::Members;
        break;
    }
    return request;
}

int RunOperatorCommand(const CommandLine& line) {
    ControlRequest request = RequestFor(line);
    SoundClip sound;
    if (line.subcommand == Subcommand::Speak) {
        sound = LoadSound(line);
        if (sound.pcm.empty()) {
            std::fprintf(stderr, "zelvora-network: %s\n", sound.error.c_str());
            return 1;
        }
        request.soundBytes = sound.pcm.size();
    }
    const ControlReply reply = SendControlRequest(line.controlPort, FormatControlLine(request), sound.pcm);
    if (!reply.ok) {
        std::fprintf(stderr, "zelvora-network: %s", reply.text.c_str());
        return 1;
    }
    std::fputs(reply.text.c_str(), stdout);
    if (line.subcommand == Subcommand::Speak) {
        // The network relays the sound from its next tick, one payload per tick: return once it is out.
        std::fflush(stdout);
        const double seconds = static_cast<double>(sound.pcm.size()) / kVoiceBytesPerSecond;
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds) +
                                    std::chrono::microseconds(31'250));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const ParsedCommandLine parsed = ParseCommandLine(args);
    if (!parsed.commandLine) {
        std::fprintf(stderr, "zelvora-network: %s\nTry zelvora-network --help\n", parsed.error.c_str());
        return 2;
    }
    const CommandLine& line = *parsed.commandLine;
    switch (line.subcommand) {
    case Subcommand::Help:
        std::fwrite(UsageText().data(), 1, UsageText().size(), stdout);
        return 0;
    case Subcommand::Serve: {
        ServeOptions options;
        options.address = line.address;
        options.portBase = line.portBase;
        options.controlPort = line.controlPort;
        options.settings.maxMembers = line.maxMembers;
        options.settings.maxMembersPerChannel = line.maxMembersPerChannel;
        options.settings.fixedErrorLevel = line.fixedErrorLevel;
        return Serve(options);
    }
    default:
        return RunOperatorCommand(line);
    }
}
