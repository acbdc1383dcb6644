// Command lines: the input split at zero bytes into arguments.

#include "core/command_line.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

using namespace zelvora::network;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string_view> args;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (start <= input.size() && args.size() < 32) {
        const std::size_t end = std::min(input.find('\0', start), input.size());
        args.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    const ParsedCommandLine parsed = ParseCommandLine(args);
    if (parsed.commandLine) {
        const CommandLine& line = *parsed.commandLine;
        if (line.channel < 0 || line.channel > 10 || line.controlPort < 0 || line.controlPort > 65535 ||
            line.portBase < 1 || line.portBase > 65535 - 1010) {
            std::abort();
        }
    } else if (parsed.error.empty()) {
        std::abort();
    }
    return 0;
}
