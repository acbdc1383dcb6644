#pragma once

#include "platform/udp_socket.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>

// Reads a dotted-decimal IPv4 address ("203.0.113.10", each part 0..255 without leading zeros) into host byte
// order; nothing for any other text.
std::optional<std::uint32_t> ParseIpv4Address(const char* text);

// Whom a socket takes datagrams from; everybody else's are dropped unread.
class SenderFilter {
  public:
    // Programs of this machine: any address of 127.0.0.0/8.
    static SenderFilter Loopback();
    // One peer, from whichever port; an address that cannot be read admits nobody.
    static SenderFilter OnlyFrom(const char* ipv4Address);

    bool Accepts(const Ipv4Endpoint& sender) const;

  private:
    bool anyLoopback_ = false;
    std::optional<std::uint32_t> peer_;
};

// Receives into `buffer` the next datagram whose sender `filter` accepts. The first receive waits as long as
// the socket's receive time-out allows; a datagram from anybody else is dropped, counted in `dropped`, and
// the wait goes on until `deadline`, so a stranger can neither feed the caller nor stretch its wait. The byte
// count, kNothingReceived or -1, as ReceiveDatagram returns them.
int ReceiveFromAccepted(SocketHandle socket, const SenderFilter& filter, std::uint8_t* buffer,
                        std::size_t capacity, std::chrono::steady_clock::time_point deadline,
                        std::atomic<std::uint32_t>& dropped);
