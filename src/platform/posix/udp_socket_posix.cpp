#include "platform/udp_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace {

int Fd(SocketHandle socket) {
    return static_cast<int>(socket);
}

bool IsUsable(SocketHandle socket) {
    return socket >= 0 && socket <= INT_MAX;
}

} // namespace

bool StartSocketLibrary() {
    return true;
}

void CleanupSocketLibrary() {}

SocketHandle OpenUdpSocket(LocalAddress localAddress) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (fd < 0) {
        return kInvalidSocket;
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(localAddress == LocalAddress::Loopback ? INADDR_LOOPBACK : INADDR_ANY);
    local.sin_port = 0;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        ::close(fd);
        return kInvalidSocket;
    }
    return fd;
}

void CloseUdpSocket(SocketHandle socket) {
    if (IsUsable(socket)) {
        ::close(Fd(socket));
    }
}

int SendDatagram(SocketHandle socket, const char* ipv4Address, int port, const std::uint8_t* data,
                 std::size_t length) {
    if (!IsUsable(socket) || ipv4Address == nullptr || port <= 0 || port > 65535) {
        return -1;
    }
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<std::uint16_t>(port));
    if (inet_pton(AF_INET, ipv4Address, &peer.sin_addr) != 1) {
        return -1;
    }
    const ssize_t sent =
        ::sendto(Fd(socket), data, length, 0, reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    return sent < 0 ? -1 : static_cast<int>(sent);
}

PollResult PollReadable(SocketHandle socket, int timeoutMs) {
    if (!IsUsable(socket)) {
        return PollResult::Failed;
    }
    pollfd entry{};
    entry.fd = Fd(socket);
    entry.events = POLLIN | POLLPRI;
    int ready;
    do {
        ready = ::poll(&entry, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) {
        return PollResult::Failed;
    }
    if (ready == 0) {
        return PollResult::TimedOut;
    }
    return (entry.revents & (POLLIN | POLLPRI)) != 0 ? PollResult::Readable : PollResult::Failed;
}

bool DatagramWaiting(SocketHandle socket) {
    int waiting = 0;
    return IsUsable(socket) && ::ioctl(Fd(socket), FIONREAD, &waiting) == 0 && waiting > 0;
}

bool SetReceiveTimeout(SocketHandle socket, int timeoutMs) {
    if (!IsUsable(socket) || timeoutMs < 0) {
        return false;
    }
    const timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    return ::setsockopt(Fd(socket), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout) == 0;
}

int ReceiveDatagram(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity, Ipv4Endpoint& sender) {
    if (!IsUsable(socket)) {
        return -1;
    }
    sockaddr_in from{};
    socklen_t fromSize = sizeof from;
    ssize_t received;
    do {
        fromSize = sizeof from;
        received = ::recvfrom(Fd(socket), buffer, capacity, 0, reinterpret_cast<sockaddr*>(&from), &fromSize);
    } while (received < 0 && errno == EINTR);
    if (received >= 0) {
        sender = {ntohl(from.sin_addr.s_addr), ntohs(from.sin_port)};
        return static_cast<int>(received);
    }
    return errno == EAGAIN ? kNothingReceived : -1; // the time-out, as Linux reports it
}

int LocalPort(SocketHandle socket) {
    if (!IsUsable(socket)) {
        return 0;
    }
    sockaddr_in local{};
    socklen_t size = sizeof local;
    if (::getsockname(Fd(socket), reinterpret_cast<sockaddr*>(&local), &size) != 0) {
        return 0;
    }
    return ntohs(local.sin_port);
}
