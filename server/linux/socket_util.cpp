#include "socket_util.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zelvora::network {
namespace {

int OpenBound(int type, Endpoint at, std::string& error) {
    const int fd = socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return -1;
    }
    if (type == SOCK_STREAM) {
        const int on = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    } else {
        // Sending: room for a tick's burst, one datagram to every member of the channel at once.
        // Receiving: room for bursts, but small enough that an overloaded relay drops datagrams instead
        // of delaying speech by seconds behind a deep queue.
        const int sendBytes = 1 << 20;
        const int receiveBytes = 1 << 20;
        setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &sendBytes, sizeof sendBytes);
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBytes, sizeof receiveBytes);
    }
    const sockaddr_in address = ToSockaddr(at);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = "bind " + FormatEndpoint(at) + ": " + std::strerror(errno);
        close(fd);
        return -1;
    }
    return fd;
}

} // namespace

sockaddr_in ToSockaddr(Endpoint endpoint) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(endpoint.address);
    address.sin_port = htons(endpoint.port);
    return address;
}

Endpoint FromSockaddr(const sockaddr_in& address) {
    return {ntohl(address.sin_addr.s_addr), ntohs(address.sin_port)};
}

int OpenBoundUdp(Endpoint at, std::string& error) {
    return OpenBound(SOCK_DGRAM, at, error);
}

int OpenListeningTcp(Endpoint at, std::string& error) {
    const int fd = OpenBound(SOCK_STREAM, at, error);
    if (fd >= 0 && listen(fd, 8) != 0) {
        error = std::string("listen: ") + std::strerror(errno);
        close(fd);
        return -1;
    }
    return fd;
}

int BoundPort(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return -1;
    }
    return ntohs(address.sin_port);
}

} // namespace zelvora::network
