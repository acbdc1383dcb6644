#include "control_server.h"

#include "core/control_protocol.h"
#include "socket_util.h"

#include <cerrno>
#include <cstring>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zelvora::network {
namespace {

constexpr std::size_t kMaxConnections = 8;
constexpr Micros kConnectionLifetime = 10'000'000;

} // namespace

ControlServer::~ControlServer() {
    while (!connections_.empty()) {
        Close(connections_.begin()->first);
    }
    if (listenFd_ >= 0) {
        close(listenFd_);
    }
}

bool ControlServer::Open(int port, int epoll, std::uint64_t listenerTag, std::string& error) {
    epoll_ = epoll;
    listenFd_ = OpenListeningTcp({0x7F000001, static_cast<std::uint16_t>(port)}, error);
    if (listenFd_ < 0) {
        return false;
    }
    port_ = BoundPort(listenFd_);
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u64 = listenerTag;
    if (epoll_ctl(epoll_, EPOLL_CTL_ADD, listenFd_, &event) != 0) {
        error = std::string("epoll_ctl: ") + std::strerror(errno);
        return false;
    }
    return true;
}

void ControlServer::Accept(Micros now) {
    const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
        return;
    }
    if (connections_.size() >= kMaxConnections) {
        close(fd);
        return;
    }
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = fd;
    if (epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event) != 0) {
        close(fd); // unwatched, it would never be answered
        return;
    }
    connections_[fd].deadline = now + kConnectionLifetime;
}

void ControlServer::OnEvent(int fd, std::uint32_t events, Network& network, Micros now) {
    Connection& connection = connections_.at(fd);
    if (events & EPOLLOUT) {
        Flush(fd, connection);
        return;
    }
    char buffer[16384];
    for (;;) {
        const ssize_t received = recv(fd, buffer, sizeof buffer, 0);
        if (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;
        }
        if (received <= 0) {
            Close(fd); // the operator went away before finishing its request
            return;
        }
        connection.input.append(buffer, static_cast<std::size_t>(received));
        Consume(fd, connection, network, now);
        if (!connections_.contains(fd) || connection.answered) {
            return; // answered: closed already, or waiting to write the rest of the reply
        }
    }
}

void ControlServer::Consume(int fd, Connection& connection, Network& network, Micros now) {
    const std::size_t newline = connection.input.find('\n');
    if (newline == std::string::npos) {
        if (connection.input.size() > kMaxControlLineBytes) {
            Answer(fd, connection, "error request too long\n");
        }
        return;
    }
    const ParsedControlLine parsed = ParseControlLine(std::string_view(connection.input).substr(0, newline));
    if (!parsed.request) {
        Answer(fd, connection, "error " + parsed.error + "\n");
        return;
    }
    const std::size_t soundStart = newline + 1;
    if (connection.input.size() - soundStart < parsed.request->soundBytes) {
        return; // the sound is still on its way
    }
    std::vector<std::uint8_t> sound(connection.input.begin() + static_cast<std::ptrdiff_t>(soundStart),
                                    connection.input.begin() +
                                        static_cast<std::ptrdiff_t>(soundStart + parsed.request->soundBytes));
    connection.input.clear();
    Answer(fd, connection, ExecuteControl(network, *parsed.request, std::move(sound), now));
}

void ControlServer::Answer(int fd, Connection& connection, std::string reply) {
    connection.answered = true;
    connection.output = std::move(reply);
    connection.input.clear();
    connection.input.shrink_to_fit();
    Flush(fd, connection);
}

void ControlServer::Flush(int fd, Connection& connection) {
    while (connection.sent < connection.output.size()) {
        const ssize_t sent = send(fd, connection.output.data() + connection.sent,
                                  connection.output.size() - connection.sent, MSG_NOSIGNAL);
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            epoll_event event{};
            event.events = EPOLLOUT;
            event.data.fd = fd;
            if (epoll_ctl(epoll_, EPOLL_CTL_MOD, fd, &event) == 0) {
                return;
            }
            break; // the rest of the reply could never be sent
        }
        if (sent <= 0) {
            break;
        }
        connection.sent += static_cast<std::size_t>(sent);
    }
    Close(fd);
}

void ControlServer::CloseIdle(Micros now) {
    std::vector<int> late;
    for (const auto& [fd, connection] : connections_) {
        if (now >= connection.deadline) {
            late.push_back(fd);
        }
    }
    for (const int fd : late) {
        Close(fd);
    }
}

void ControlServer::Close(int fd) {
    epoll_ctl(epoll_, EPOLL_CTL_DEL, fd, nullptr);
    close(fd);
    connections_.erase(fd);
}

} // namespace zelvora::network
