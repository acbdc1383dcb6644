#include "net/sender_filter.h"

namespace {

constexpr std::uint32_t kLoopbackNet = 0x7F000000;
constexpr std::uint32_t kLoopbackMask = 0xFF000000;
constexpr int kAddressParts = 4;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<std::uint32_t> ParseIpv4Address(const char* text) {
    if (text == nullptr) {
        return std::nullopt;
    }
    std::uint32_t address = 0;
    const char* at = text;
    for (int part = 0; part < kAddressParts; ++part) {
        if (part > 0 && *at++ != '.') {
            return std::nullopt;
        }
        const char* digits = at;
        int value = 0;
        while (IsDigit(*at) && at - digits < 3) {
            value = value * 10 + (*at++ - '0');
        }
        const bool leadingZero = at - digits > 1 && *digits == '0';
        if (at == digits || IsDigit(*at) || leadingZero || value > 255) {
            return std::nullopt;
        }
        address = (address << 8) | static_cast<std::uint32_t>(value);
    }
    if (*at != '\0') {
        return std::nullopt;
    }
    return address;
}

SenderFilter SenderFilter::Loopback() {
    SenderFilter filter;
    filter.anyLoopback_ = true;
    return filter;
}

SenderFilter SenderFilter::OnlyFrom(const char* ipv4Address) {
    SenderFilter filter;
    filter.peer_ = ParseIpv4Address(ipv4Address);
    return filter;
}

bool SenderFilter::Accepts(const Ipv4Endpoint& sender) const {
    if (anyLoopback_) {
        return (sender.address & kLoopbackMask) == kLoopbackNet;
    }
    return peer_.has_value() && sender.address == *peer_;
}

int ReceiveFromAccepted(SocketHandle socket, const SenderFilter& filter, std::uint8_t* buffer,
                        std::size_t capacity, std::chrono::steady_clock::time_point deadline,
                        std::atomic<std::uint32_t>& dropped) {
    for (;;) {
        Ipv4Endpoint sender;
        const int received = ReceiveDatagram(socket, buffer, capacity, sender);
        if (received < 0 || filter.Accepts(sender)) {
            return received;
        }
        dropped.fetch_add(1, std::memory_order_relaxed);
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        const PollResult next =
            left > 0 ? PollReadable(socket, static_cast<int>(left)) : PollResult::TimedOut;
        if (next != PollResult::Readable) {
            return next == PollResult::Failed ? -1 : kNothingReceived;
        }
    }
}
