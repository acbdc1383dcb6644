#pragma once

#include <cstdint>

// A UDP socket as both Winsock (SOCKET, INVALID_SOCKET = ~0) and POSIX (int, -1) see it.
using SocketHandle = std::intptr_t;
inline constexpr SocketHandle kInvalidSocket = -1;
