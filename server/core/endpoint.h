#pragma once

#include <cstdint>
#include <string>

namespace zelvora::network {

// Monotonic time in microseconds; the event loop reads the clock, the core only compares values.
using Micros = std::int64_t;

// An IPv4 UDP address and port, both in host byte order.
struct Endpoint {
    std::uint32_t address = 0;
    std::uint16_t port = 0;

    friend bool operator==(const Endpoint&, const Endpoint&) = default;
};

// "a.b.c.d:port", for logs and the member listing.
std::string FormatEndpoint(Endpoint endpoint);
std::string FormatAddress(std::uint32_t address);

} // namespace zelvora::network
