#pragma once

#include "core/network_types.h"

#include <cstdint>

namespace zelvora::network {

struct ServeOptions {
    std::uint32_t address = 0x7F000001;
    int portBase = 30000;
    int controlPort = 32000;
    NetworkSettings settings;
};

// Runs the network until SIGINT or SIGTERM: one thread, one epoll set over the 22 UDP sockets, the relay
// tick's timerfd, a signalfd and the control connections. Returns the process exit code.
int Serve(const ServeOptions& options);

} // namespace zelvora::network
