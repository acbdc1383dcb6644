#include "wire.h"

#include <algorithm>
#include <cstring>

namespace zelvora::network {
namespace {

constexpr std::size_t kGreetingBytes = 9;
constexpr std::uint8_t kGreetingText[] = {'T', '.', 'W', 'I', 'N'};

VoiceDatagram Rejected(Malformation why) {
    VoiceDatagram datagram;
    datagram.malformation = why;
    return datagram;
}

std::uint16_t AccountAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

VoiceDatagram DecodeGreeting(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kGreetingBytes && bytes.size() != 2 * kGreetingBytes) {
        return Rejected(Malformation::WrongSize);
    }
    if (!std::equal(std::begin(kGreetingText), std::end(kGreetingText), bytes.begin())) {
        return Rejected(Malformation::UnknownKind);
    }
    const bool doubled = bytes.size() == 2 * kGreetingBytes;
    if (doubled &&
        !std::equal(bytes.begin(), bytes.begin() + kGreetingBytes, bytes.begin() + kGreetingBytes)) {
        return Rejected(Malformation::BadField);
    }
    VoiceDatagram datagram;
    datagram.kind = VoiceKind::Greeting;
    datagram.fromSupervisorSocket = doubled;
    return datagram;
}

// The body tag at offset 9 decides the only length a presence datagram may have.
std::size_t PresenceLengthFor(std::uint8_t tag, std::size_t received) {
    switch (tag) {
    case 'V':
        return 14;
    case 'N':
        return 26;
    case 'D':
        return received == 27 ? 27 : 20; // 16-digit PC identifier, or the "DEVICE.ID" stand-in
    default:
        return 0;
    }
}

VoiceDatagram DecodePresence(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != 14 && bytes.size() != 20 && bytes.size() != 26 && bytes.size() != 27) {
        return Rejected(Malformation::WrongSize);
    }
    if (bytes[1] != '.') {
        return Rejected(Malformation::UnknownKind);
    }
    if (PresenceLengthFor(bytes[9], bytes.size()) != bytes.size()) {
        return Rejected(Malformation::BadField);
    }
    VoiceDatagram datagram;
    datagram.kind = VoiceKind::Presence;
    datagram.account = AccountAt(bytes, 3);
    return datagram;
}

VoiceDatagram DecodeAudio(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kAudioDatagramBytes) {
        return Rejected(Malformation::WrongSize);
    }
    if (bytes[1] == 0) {
        return Rejected(Malformation::BadField);
    }
    VoiceDatagram datagram;
    datagram.kind = VoiceKind::Audio;
    datagram.account = AccountAt(bytes, 3);
    datagram.sequence = bytes[1];
    datagram.payload = bytes.subspan(kAudioPayloadOffset, kPayloadBytes);
    return datagram;
}

} // namespace

VoiceDatagram DecodeVoiceDatagram(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return Rejected(Malformation::WrongSize);
    }
    switch (bytes[0]) {
    case 'T':
        return DecodeGreeting(bytes);
    case 'R':
        return DecodePresence(bytes);
    case 'A':
        return DecodeAudio(bytes);
    default:
        return Rejected(Malformation::UnknownKind);
    }
}

SupervisorRequest DecodeSupervisorRequest(std::span<const std::uint8_t> bytes) {
    SupervisorRequest request;
    if (bytes.empty() || (bytes[0] != 'L' && bytes[0] != 'A')) {
        request.malformation = Malformation::UnknownKind;
        return request;
    }
    if (bytes.size() != 3) {
        request.malformation = Malformation::WrongSize;
        return request;
    }
    if (bytes[0] == 'L') {
        request.kind = SupervisorKind::ListRequest;
        if (bytes[1] != 0 || bytes[2] != 0) {
            request.malformation = Malformation::BadField;
        }
        return request;
    }
    request.kind = SupervisorKind::StatusRequest;
    request.relayByte = bytes[2];
    if (bytes[1] != 0x01) {
        request.malformation = Malformation::BadField;
    }
    return request;
}

std::size_t EncodeRelayDatagram(const RelayHeader& header, std::span<const std::uint8_t> payload,
                                std::span<std::uint8_t, kAudioDatagramBytes> out) {
    std::fill(out.begin(), out.begin() + kRelayHeaderBytes, std::uint8_t{0});
    out[0] = 'A';
    out[1] = header.sequence;
    out[2] = header.relayByte;
    out[3] = static_cast<std::uint8_t>(header.speaker & 0xFF);
    out[4] = static_cast<std::uint8_t>(header.speaker >> 8);
    out[5] = header.errorLevel;
    if (payload.size() != kPayloadBytes) {
        return kRelayHeaderBytes;
    }
    out[7] = 1;
    std::memcpy(out.data() + kAudioPayloadOffset, payload.data(), kPayloadBytes);
    return kAudioDatagramBytes;
}

std::size_t EncodeListReply(int channel, std::span<const std::uint16_t> accounts,
                            std::span<std::uint8_t, kListReplyMaxBytes> out) {
    const std::size_t count = std::min(accounts.size(), kMaxListedMembers);
    out[0] = 'L';
    out[1] = static_cast<std::uint8_t>(channel);
    out[2] = static_cast<std::uint8_t>(count);
    for (std::size_t i = 0; i < count; ++i) {
        out[3 + 2 * i] = static_cast<std::uint8_t>(accounts[i] & 0xFF);
        out[4 + 2 * i] = static_cast<std::uint8_t>(accounts[i] >> 8);
    }
    return 3 + 2 * count;
}

std::array<std::uint8_t, kStatusReplyBytes> EncodeStatusReply(std::uint8_t code) {
    return {'A', 0, code};
}

} // namespace zelvora::network
