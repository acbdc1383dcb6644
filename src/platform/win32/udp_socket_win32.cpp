#include "platform/udp_socket.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <climits>

namespace {

SOCKET Native(SocketHandle socket) {
    return static_cast<SOCKET>(socket);
}

bool IsUsable(SocketHandle socket) {
    return socket != kInvalidSocket && Native(socket) != INVALID_SOCKET;
}

} // namespace

bool StartSocketLibrary() {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

void CleanupSocketLibrary() {
    WSACleanup();
}

SocketHandle OpenUdpSocket(LocalAddress localAddress) {
    const SOCKET s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) {
        return kInvalidSocket;
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(localAddress == LocalAddress::Loopback ? INADDR_LOOPBACK : INADDR_ANY);
    local.sin_port = 0;
    if (::bind(s, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        closesocket(s);
        return kInvalidSocket;
    }
    return static_cast<SocketHandle>(s);
}

void CloseUdpSocket(SocketHandle socket) {
    if (IsUsable(socket)) {
        closesocket(Native(socket));
    }
}

int SendDatagram(SocketHandle socket, const char* ipv4Address, int port, const std::uint8_t* data,
                 std::size_t length) {
    if (!IsUsable(socket) || ipv4Address == nullptr || port <= 0 || port > 65535 || length > INT_MAX) {
        return -1;
    }
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<u_short>(port));
    if (inet_pton(AF_INET, ipv4Address, &peer.sin_addr) != 1) {
        return -1;
    }
    const int sent = ::sendto(Native(socket), reinterpret_cast<const char*>(data), static_cast<int>(length),
                              0, reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    return sent == SOCKET_ERROR ? -1 : sent;
}

PollResult PollReadable(SocketHandle socket, int timeoutMs) {
    if (!IsUsable(socket)) {
        return PollResult::Failed;
    }
    WSAPOLLFD entry{};
    entry.fd = Native(socket);
    entry.events = POLLRDNORM | POLLRDBAND;
    const int ready = WSAPoll(&entry, 1, timeoutMs);
    if (ready == SOCKET_ERROR) {
        return PollResult::Failed;
    }
    if (ready == 0) {
        return PollResult::TimedOut;
    }
    return (entry.revents & (POLLRDNORM | POLLRDBAND)) != 0 ? PollResult::Readable : PollResult::Failed;
}

bool DatagramWaiting(SocketHandle socket) {
    u_long waiting = 0;
    return IsUsable(socket) && ioctlsocket(Native(socket), FIONREAD, &waiting) == 0 && waiting > 0;
}

bool SetReceiveTimeout(SocketHandle socket, int timeoutMs) {
    if (!IsUsable(socket) || timeoutMs < 0) {
        return false;
    }
    const DWORD timeout = static_cast<DWORD>(timeoutMs);
    return ::setsockopt(Native(socket), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                        sizeof timeout) == 0;
}

int ReceiveDatagram(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity, Ipv4Endpoint& sender) {
    if (!IsUsable(socket) || capacity > INT_MAX) {
        return -1;
    }
    sockaddr_in from{};
    int fromSize = sizeof from;
    const int received =
        ::recvfrom(Native(socket), reinterpret_cast<char*>(buffer), static_cast<int>(capacity), 0,
                   reinterpret_cast<sockaddr*>(&from), &fromSize);
    if (received != SOCKET_ERROR) {
        sender = {ntohl(from.sin_addr.s_addr), ntohs(from.sin_port)};
        return received;
    }
    const int error = WSAGetLastError();
    return error == WSAETIMEDOUT || error == WSAEMSGSIZE ? kNothingReceived : -1;
}

int LocalPort(SocketHandle socket) {
    if (!IsUsable(socket)) {
        return 0;
    }
    sockaddr_in local{};
    int size = sizeof local;
    if (::getsockname(Native(socket), reinterpret_cast<sockaddr*>(&local), &size) != 0) {
        return 0;
    }
    return ntohs(local.sin_port);
}
