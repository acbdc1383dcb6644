#include "endpoint.h"

namespace zelvora::network {

std::string FormatAddress(std::uint32_t address) {
    return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 0xFF) + "." +
           std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF);
}

std::string FormatEndpoint(Endpoint endpoint) {
    return FormatAddress(endpoint.address) + ":" + std::to_string(endpoint.port);
}

} // namespace zelvora::network
