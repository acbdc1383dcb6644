#include "batching_outbox.h"

#include "socket_util.h"

#include <algorithm>

namespace zelvora::network {

void BatchingOutbox::Send(PortKind kind, int channel, Endpoint to, std::span<const std::uint8_t> bytes) {
    const int fd = sockets_[kind == PortKind::Voice ? 0 : 1][static_cast<std::size_t>(channel)];
    if (count_ > 0 && (fd != fd_ || count_ == kBatch)) {
        Flush();
    }
    fd_ = fd;
    const std::size_t length = std::min(bytes.size(), kAudioDatagramBytes);
    std::copy_n(bytes.begin(), length, buffers_[count_].begin());
    addresses_[count_] = ToSockaddr(to);
    vectors_[count_] = {buffers_[count_].data(), length};
    messages_[count_] = {};
    messages_[count_].msg_hdr.msg_name = &addresses_[count_];
    messages_[count_].msg_hdr.msg_namelen = sizeof(sockaddr_in);
    messages_[count_].msg_hdr.msg_iov = &vectors_[count_];
    messages_[count_].msg_hdr.msg_iovlen = 1;
    ++count_;
}

void BatchingOutbox::Flush() {
    std::size_t done = 0;
    while (done < count_) {
        const int sent = sendmmsg(fd_, messages_.data() + done, static_cast<unsigned>(count_ - done), 0);
        if (sent <= 0) {
            ++counters_.sendFailures; // this one datagram could not go; the rest still may
            ++done;
        } else {
            done += static_cast<std::size_t>(sent);
        }
    }
    count_ = 0;
}

} // namespace zelvora::network
