#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <vector>

// The far end of the client's datagrams in a test: a UDP socket bound to a chosen loopback address and port,
// which records what arrives and answers the sender.
class UdpPeer {
  public:
    UdpPeer(const char* address, int port);
    ~UdpPeer();
    UdpPeer(const UdpPeer&) = delete;
    UdpPeer& operator=(const UdpPeer&) = delete;

    bool IsBound() const { return fd_ >= 0; }
    int Port() const;

    // One datagram, or empty with `received` false after `timeoutMs`.
    struct Datagram {
        bool received = false;
        std::vector<std::uint8_t> bytes;
        sockaddr_in from{};
    };
    Datagram Receive(int timeoutMs = 1000);

    // Throws away whatever has arrived so far.
    void Drain();

    void SendTo(const sockaddr_in& to, const std::vector<std::uint8_t>& bytes);

  private:
    int fd_ = -1;
};

// The loopback address and port a client socket bound to the wildcard address is reached at.
sockaddr_in LoopbackEndpoint(int port);
