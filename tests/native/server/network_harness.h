#pragma once

// A Network driven by hand: a clock that only moves when told, a log and an outbox that keep everything.

#include "core/network.h"
#include "core/wire.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelvora::network::testing {

struct SentDatagram {
    PortKind kind;
    int channel;
    Endpoint to;
    std::vector<std::uint8_t> bytes;
};

class RecordingOutbox final : public Outbox {
  public:
    void Send(PortKind kind, int channel, Endpoint to, std::span<const std::uint8_t> bytes) override {
        sent.push_back({kind, channel, to, {bytes.begin(), bytes.end()}});
    }
    // The datagrams sent to one endpoint, oldest first.
    std::vector<SentDatagram> To(Endpoint to) const {
        std::vector<SentDatagram> found;
        for (const SentDatagram& datagram : sent) {
            if (datagram.to == to) {
                found.push_back(datagram);
            }
        }
        return found;
    }
    std::vector<SentDatagram> sent;
};

class RecordingLog final : public EventLog {
  public:
    void Line(const std::string& text) override { lines.push_back(text); }
    bool Contains(const std::string& part) const {
        for (const std::string& line : lines) {
            if (line.find(part) != std::string::npos) {
                return true;
            }
        }
        return false;
    }
    std::vector<std::string> lines;
};

inline Endpoint Client(int n) {
    return {0x7F000001, static_cast<std::uint16_t>(50000 + n)};
}

inline std::vector<std::uint8_t> PresenceDatagram(std::uint16_t account) {
    std::vector<std::uint8_t> bytes = {'R',
                                       '.',
                                       0,
                                       static_cast<std::uint8_t>(account & 0xFF),
                                       static_cast<std::uint8_t>(account >> 8),
                                       0,
                                       0,
                                       0,
                                       0,
                                       'N'};
    const std::string name = "WIN.PSEUDO.WIN.";
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.push_back(0);
    return bytes;
}

// An audio datagram whose payload is filled with fill, so relayed payloads can be traced back.
inline std::vector<std::uint8_t> AudioDatagram(std::uint16_t account, std::uint8_t sequence,
                                               std::uint8_t fill) {
    std::vector<std::uint8_t> bytes(kAudioDatagramBytes, 0);
    bytes[0] = 'A';
    bytes[1] = sequence;
    bytes[2] = 0x02;
    bytes[3] = static_cast<std::uint8_t>(account & 0xFF);
    bytes[4] = static_cast<std::uint8_t>(account >> 8);
    std::fill(bytes.begin() + kAudioPayloadOffset, bytes.end(), fill);
    return bytes;
}

// Payload flag 1 and the payload's fill byte, or 0 for silence.
inline std::uint8_t HeardFill(const SentDatagram& datagram) {
    return datagram.bytes.size() == kAudioDatagramBytes && datagram.bytes[7] == 1 ? datagram.bytes[24] : 0;
}

struct Harness {
    Harness() : network(settings, log) {}
    explicit Harness(const NetworkSettings& custom) : settings(custom), network(settings, log) {}

    void Presence(int channel, Endpoint from, std::uint16_t account) {
        network.OnVoiceDatagram(channel, from, PresenceDatagram(account), now, outbox);
    }
    void Audio(int channel, Endpoint from, std::uint16_t account, std::uint8_t sequence, std::uint8_t fill) {
        network.OnVoiceDatagram(channel, from, AudioDatagram(account, sequence, fill), now, outbox);
    }
    void Supervisor(int channel, Endpoint from, std::vector<std::uint8_t> bytes) {
        network.OnSupervisorDatagram(channel, from, bytes, outbox);
    }
    // One tick later, after the clients' presence datagrams of that tick.
    void Tick(const std::vector<std::pair<int, Endpoint>>& present = {}) {
        now += settings.tick;
        for (const auto& [channel, from] : present) {
            Presence(channel, from, static_cast<std::uint16_t>(from.port));
        }
        network.Tick(now, outbox);
    }
    std::vector<std::uint16_t> ListedAccounts(int channel) {
        outbox.sent.clear();
        Supervisor(channel, Client(99), {'L', 0, 0});
        const std::vector<std::uint8_t>& reply = outbox.sent.at(0).bytes;
        std::vector<std::uint16_t> accounts;
        for (std::size_t at = 3; at + 1 < reply.size(); at += 2) {
            accounts.push_back(static_cast<std::uint16_t>(reply[at] | (reply[at + 1] << 8)));
        }
        return accounts;
    }

    NetworkSettings settings;
    RecordingLog log;
    RecordingOutbox outbox;
    Network network;
    Micros now = 1'000'000;
};

} // namespace zelvora::network::testing
