#include "control_client.h"

#include "socket_util.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace zelvora::network {
namespace {

bool SendAll(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t sent = send(fd, bytes, size, MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        bytes += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

} // namespace

ControlReply SendControlRequest(int port, std::string_view line, std::span<const std::uint8_t> sound) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return {false, std::string("socket: ") + std::strerror(errno) + "\n"};
    }
    timeval timeout{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    const sockaddr_in address = ToSockaddr({0x7F000001, static_cast<std::uint16_t>(port)});
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const std::string why = std::strerror(errno);
        close(fd);
        return {false, "no network answers on control port " + std::to_string(port) + ": " + why + "\n"};
    }
    const std::string request = std::string(line) + "\n";
    std::string reply;
    if (SendAll(fd, request.data(), request.size()) && SendAll(fd, sound.data(), sound.size())) {
        shutdown(fd, SHUT_WR);
        char buffer[4096];
        ssize_t received = 0;
        while ((received = recv(fd, buffer, sizeof buffer, 0)) > 0) {
            reply.append(buffer, static_cast<std::size_t>(received));
        }
    }
    close(fd);
    if (reply.starts_with("ok\n")) {
        return {true, reply.substr(3)};
    }
    if (reply.starts_with("error ")) {
        return {false, reply.substr(6)};
    }
    return {false, "the network closed the control connection without an answer\n"};
}

} // namespace zelvora::network
