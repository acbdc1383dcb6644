// Control requests as the loopback control port receives them: a line, then whatever follows.

#include "core/control_protocol.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace zelvora::network;

namespace {

class NullLog final : public EventLog {
  public:
    void Line(const std::string&) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const ParsedControlLine parsed = ParseControlLine(input.substr(0, newline));
    if (!parsed.request) {
        return 0;
    }
    // What the tool would send for this request must read back the same.
    const ParsedControlLine again = ParseControlLine(FormatControlLine(*parsed.request));
    if (!again.request || FormatControlLine(*again.request) != FormatControlLine(*parsed.request)) {
        std::abort();
    }
    NullLog log;
    Network network(NetworkSettings{}, log);
    network.AddSimulated(parsed.request->channel, parsed.request->account);
    const std::string_view rest =
        newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);
    std::vector<std::uint8_t> sound(
        rest.begin(),
        rest.begin() + static_cast<std::ptrdiff_t>(std::min(rest.size(), parsed.request->soundBytes)));
    sound.resize(parsed.request->soundBytes, 0);
    const std::string reply = ExecuteControl(network, *parsed.request, std::move(sound), 0);
    if (!reply.starts_with("ok\n") && !reply.starts_with("error ")) {
        std::abort();
    }
    return 0;
}
