#pragma once

#include "core/counters.h"
#include "core/network_types.h"
#include "core/wire.h"

#include <array>
#include <cstddef>
#include <netinet/in.h>
#include <sys/socket.h>

namespace zelvora::network {

// Sends the core's datagrams from the socket of their kind and channel, gathering consecutive datagrams of
// one socket into a single sendmmsg call: a tick sends one datagram to every member, channel by channel.
// Whoever calls into the core flushes afterwards.
class BatchingOutbox final : public Outbox {
  public:
    using Sockets = std::array<std::array<int, kChannelCount>, 2>;

    BatchingOutbox(const Sockets& sockets, Counters& counters) : sockets_(sockets), counters_(counters) {}

    void Send(PortKind kind, int channel, Endpoint to, std::span<const std::uint8_t> bytes) override;
    void Flush();

  private:
    static constexpr std::size_t kBatch = 64;

    const Sockets& sockets_;
    Counters& counters_;
    int fd_ = -1;
    std::size_t count_ = 0;
    std::array<std::array<std::uint8_t, kAudioDatagramBytes>, kBatch> buffers_{};
    std::array<sockaddr_in, kBatch> addresses_{};
    std::array<iovec, kBatch> vectors_{};
    std::array<mmsghdr, kBatch> messages_{};
};

} // namespace zelvora::network
