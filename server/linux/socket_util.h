#pragma once

#include "core/endpoint.h"

#include <netinet/in.h>
#include <string>

namespace zelvora::network {

sockaddr_in ToSockaddr(Endpoint endpoint);
Endpoint FromSockaddr(const sockaddr_in& address);

// A non-blocking socket bound to address:port, or -1 with error set.
int OpenBoundUdp(Endpoint at, std::string& error);
int OpenListeningTcp(Endpoint at, std::string& error);
// The port a socket was bound to (useful after binding port 0).
int BoundPort(int fd);

} // namespace zelvora::network
