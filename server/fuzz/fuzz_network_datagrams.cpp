// Drives one Network with any sequence of datagrams on both kinds of port, ticks and operator commands,
// and checks everything it sends against the formats the clients read.

#include "core/network.h"
#include "core/wire.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

using namespace zelvora::network;

namespace {

class NullLog final : public EventLog {
  public:
    void Line(const std::string&) override {}
};

class CheckingOutbox final : public Outbox {
  public:
    void Send(PortKind kind, int channel, Endpoint, std::span<const std::uint8_t> bytes) override {
        Check(channel >= 0 && channel < kChannelCount);
        if (kind == PortKind::Voice) {
            Check(bytes.size() == kRelayHeaderBytes || bytes.size() == kAudioDatagramBytes);
            Check(bytes[0] == 'A' && bytes[1] != 0 && bytes[5] <= 4);
            Check(bytes[7] == (bytes.size() == kAudioDatagramBytes ? 1 : 0));
        } else if (bytes[0] == 'L') {
            Check(bytes[1] == channel && bytes[2] <= kMaxListedMembers && bytes.size() == 3u + 2u * bytes[2]);
        } else {
            Check(bytes.size() == 3 && bytes[0] == 'A' &&
                  (bytes[2] == 0 || bytes[2] == 220 || bytes[2] == 240));
        }
    }

  private:
    static void Check(bool holds) {
        if (!holds) {
            std::abort();
        }
    }
};

struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t Byte() {
        if (size == 0) {
            return 0;
        }
        --size;
        return *data++;
    }
    std::vector<std::uint8_t> Bytes(std::size_t count) {
        count = std::min(count, size);
        std::vector<std::uint8_t> bytes(data, data + count);
        data += count;
        size -= count;
        return bytes;
    }
};

Endpoint Source(std::uint8_t which) {
    return {0x7F000001u + (which >> 3 & 1u), static_cast<std::uint16_t>(40000 + (which & 7))};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    NetworkSettings settings;
    settings.maxMembers = 6;
    settings.maxMembersPerChannel = 3;
    settings.leaveAfter = 200'000;
    NullLog log;
    CheckingOutbox out;
    Network network(settings, log);
    Micros now = 0;
    Reader in{data, size};
    while (in.size > 0) {
        const std::uint8_t op = in.Byte();
        const int channel = in.Byte() % 12; // 11 is out of range on purpose
        switch (op % 7) {
        case 0:
            network.OnVoiceDatagram(channel, Source(in.Byte()), in.Bytes(in.Byte()), now, out);
            break;
        case 1:
            network.OnSupervisorDatagram(channel, Source(in.Byte()), in.Bytes(in.Byte()), out);
            break;
        case 2: { // a well-formed presence datagram, so membership gets exercised
            std::vector<std::uint8_t> presence = {'R', '.', 0,   in.Byte(), in.Byte(), 0,   0,
                                                  0,   0,   'V', '0',       '7',       '7', 2};
            network.OnVoiceDatagram(channel, Source(in.Byte()), presence, now, out);
            break;
        }
        case 3: { // a well-formed audio datagram
            std::vector<std::uint8_t> audio(kAudioDatagramBytes, in.Byte());
            audio[0] = 'A';
            audio[1] = in.Byte();
            audio[3] = in.Byte();
            network.OnVoiceDatagram(channel, Source(in.Byte()), audio, now, out);
            break;
        }
        case 4:
            now += in.Byte() * 2'000;
            network.Tick(now, out);
            break;
        case 5: {
            const auto account = static_cast<std::uint16_t>(in.Byte() % 4);
            switch (in.Byte() % 4) {
            case 0:
                network.AddSimulated(channel, account);
                break;
            case 1:
                network.RemoveSimulated(channel, account, now);
                break;
            case 2:
                network.Speak(channel, account, std::vector<std::uint8_t>(kPayloadBytes * (in.Byte() % 4), 1),
                              now);
                break;
            default:
                network.Members(now);
                break;
            }
            break;
        }
        default:
            network.PostNotice(in.Byte() & 1 ? kNoticeClosing : kNoticeUpdateRequired,
                               in.Byte() & 1 ? std::optional<std::uint16_t>(in.Byte() % 4) : std::nullopt);
            break;
        }
    }
    const auto members = network.Members(now);
    if (members.size() > settings.maxMembers) {
        std::abort();
    }
    return 0;
}
