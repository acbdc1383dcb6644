#include "udp_peer.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

UdpPeer::UdpPeer(const char* address, int port) {
    fd_ = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, address, &local.sin_addr);
    if (fd_ >= 0 && ::bind(fd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

UdpPeer::~UdpPeer() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

int UdpPeer::Port() const {
    sockaddr_in local{};
    socklen_t size = sizeof local;
    return ::getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &size) == 0 ? ntohs(local.sin_port) : 0;
}

UdpPeer::Datagram UdpPeer::Receive(int timeoutMs) {
    Datagram datagram;
    pollfd entry{fd_, POLLIN, 0};
    if (fd_ < 0 || ::poll(&entry, 1, timeoutMs) != 1) {
        return datagram;
    }
    std::uint8_t buffer[65536];
    socklen_t fromSize = sizeof datagram.from;
    const ssize_t length =
        ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&datagram.from), &fromSize);
    if (length >= 0) {
        datagram.received = true;
        datagram.bytes.assign(buffer, buffer + length);
    }
    return datagram;
}

void UdpPeer::Drain() {
    while (Receive(0).received) {
    }
}

void UdpPeer::SendTo(const sockaddr_in& to, const std::vector<std::uint8_t>& bytes) {
    ::sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

sockaddr_in LoopbackEndpoint(int port) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return to;
}
