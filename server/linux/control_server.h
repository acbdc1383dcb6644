#pragma once

#include "core/network.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zelvora::network {

// The operator's side door: TCP on the loopback address only. Each connection carries one request and
// gets one reply, then closes. Few connections at once, each with a deadline and a bounded request.
class ControlServer {
  public:
    ControlServer() = default;
    ControlServer(const ControlServer&) = delete;
    ControlServer& operator=(const ControlServer&) = delete;
    ~ControlServer();

    // port 0 picks a free one. The listener is watched under listenerTag; connections under their fd.
    bool Open(int port, int epoll, std::uint64_t listenerTag, std::string& error);
    int Port() const { return port_; }
    bool Owns(int fd) const { return connections_.contains(fd); }

    void Accept(Micros now);
    void OnEvent(int fd, std::uint32_t events, Network& network, Micros now);
    void CloseIdle(Micros now);

  private:
    struct Connection {
        std::string input;
        std::string output;
        std::size_t sent = 0;
        Micros deadline = 0;
        bool answered = false;
    };

    void Consume(int fd, Connection& connection, Network& network, Micros now);
    void Answer(int fd, Connection& connection, std::string reply);
    void Flush(int fd, Connection& connection);
    void Close(int fd);

    int epoll_ = -1;
    int listenFd_ = -1;
    int port_ = 0;
    std::map<int, Connection> connections_;
};

} // namespace zelvora::network
