#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zelvora::network {

struct ControlReply {
    bool ok = false;
    std::string text; // the listing after "ok", or why it failed
};

// Sends one request line (and the sound of a speak request) to the network's control port on 127.0.0.1.
ControlReply SendControlRequest(int port, std::string_view line, std::span<const std::uint8_t> sound);

} // namespace zelvora::network
