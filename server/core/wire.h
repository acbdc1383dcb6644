#pragma once

// Byte layouts of every datagram the network exchanges with its clients.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zelvora::network {

inline constexpr int kChannelCount = 11;
inline constexpr int kEchoChannel = 10;
inline constexpr std::size_t kPayloadBytes = 1000;
inline constexpr std::size_t kAudioDatagramBytes = 1024;
inline constexpr std::size_t kAudioPayloadOffset = 24;
inline constexpr std::size_t kRelayHeaderBytes = 24;
inline constexpr std::size_t kMaxListedMembers = 16;
inline constexpr std::size_t kListReplyMaxBytes = 3 + 2 * kMaxListedMembers;
inline constexpr std::size_t kStatusReplyBytes = 3;

inline constexpr std::uint8_t kNoticeNone = 0;
inline constexpr std::uint8_t kNoticeUpdateRequired = 220;
inline constexpr std::uint8_t kNoticeClosing = 240;

// Why a datagram was dropped before it touched any state.
enum class Malformation { None, WrongSize, UnknownKind, BadField };

enum class VoiceKind { Greeting, Presence, Audio };

struct VoiceDatagram {
    Malformation malformation = Malformation::None;
    VoiceKind kind = VoiceKind::Greeting;
    // Presence and audio: the sender's account, low byte first on the wire.
    std::uint16_t account = 0;
    // Audio: the sender's sequence byte, never 0.
    std::uint8_t sequence = 0;
    // Greeting: the doubled 18-byte form comes from the client's supervisor socket.
    bool fromSupervisorSocket = false;
    // Audio: the 1000-byte speech payload inside the decoded bytes.
    std::span<const std::uint8_t> payload;
};

// What reaches a channel port: "T.WIN" greetings, 'R' '.' presence datagrams, 'A' audio datagrams.
VoiceDatagram DecodeVoiceDatagram(std::span<const std::uint8_t> bytes);

enum class SupervisorKind { ListRequest, StatusRequest };

struct SupervisorRequest {
    Malformation malformation = Malformation::None;
    SupervisorKind kind = SupervisorKind::ListRequest;
    // Status request: the relay byte the client last received from us.
    std::uint8_t relayByte = 0;
};

// What reaches a supervisor port: 'L' 0 0 and 'A' 0x01 relayByte, three bytes each.
SupervisorRequest DecodeSupervisorRequest(std::span<const std::uint8_t> bytes);

struct RelayHeader {
    std::uint8_t sequence = 1;
    std::uint8_t relayByte = 0;
    std::uint16_t speaker = 0;
    std::uint8_t errorLevel = 0;
};

// A relayed voice datagram: the 24-byte header alone when payload is empty (flag 0), else header plus the
// 1000-byte payload (flag 1). Returns the length written into out.
std::size_t EncodeRelayDatagram(const RelayHeader& header, std::span<const std::uint8_t> payload,
                                std::span<std::uint8_t, kAudioDatagramBytes> out);

// 'L', channel, count, then up to 16 little-endian account numbers. Returns the length written.
std::size_t EncodeListReply(int channel, std::span<const std::uint16_t> accounts,
                            std::span<std::uint8_t, kListReplyMaxBytes> out);

std::array<std::uint8_t, kStatusReplyBytes> EncodeStatusReply(std::uint8_t code);

} // namespace zelvora::network
