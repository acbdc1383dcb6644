#pragma once

#include "net/protocol.h"

#include <cstddef>
#include <cstdint>
#include <optional>

// Every datagram the client exchanges with the voice server, the supervisor and the speech synthesiser.
// Encoders write into a caller's buffer and return the datagram length; decoders take the number of bytes
// actually received and read any byte beyond it as zero.

// "T.WIN" and four zeros; the supervisor socket sends it twice in one datagram.
std::size_t EncodeGreeting(std::uint8_t (&out)[kGreetingBytes]);
std::size_t EncodeDoubleGreeting(std::uint8_t (&out)[kDoubleGreetingBytes]);

// The presence datagram of `phase` (0 version, 1 name, 2 device); `pcIdentifier` is read up to
// `pcIdentifierCapacity` bytes and only an identifier of exactly 16 characters is sent as such.
std::size_t EncodePresence(std::uint8_t (&out)[kPresenceMaxBytes], int phase, std::uint16_t account,
                           const char* pcIdentifier, std::size_t pcIdentifierCapacity);

// The phase that follows `phase`: the bodies go name, device, version, name, ...
int NextPresencePhase(int phase);

std::size_t EncodeAudio(std::uint8_t (&out)[kAudioDatagramBytes], std::uint8_t sequence,
                        std::uint16_t account, const std::uint8_t (&payload)[kAudioPayloadBytes]);

// The sequence byte after `sequence`: 1..255, never 0.
std::uint8_t NextAudioSequence(std::uint8_t sequence);

std::size_t EncodeListRequest(std::uint8_t (&out)[kListRequestBytes]);
std::size_t EncodeStatusRequest(std::uint8_t (&out)[kStatusRequestBytes], int relayByte);

// 0x01 then the UTF-8 text in Windows-1252, the synthesiser's code page, cut at 200 bytes.
std::size_t EncodeSpeechText(std::uint8_t (&out)[kSpeechTextMaxBytes], const char* text);
std::size_t EncodeSynthStop(std::uint8_t (&out)[1]);

// A voice datagram relayed by the voice server, as far as the client reads it.
struct RelayedVoice {
    std::uint8_t kind = 0;
    std::uint8_t sequence = 0;
    int relayByte = 0; // signed
    std::uint16_t speakerAccount = 0;
    int errorLevel = 0; // signed
    std::uint8_t payloadFlag = 0;
    const std::uint8_t* payload = nullptr; // the received part of the 1000-byte payload
    std::size_t payloadReceived = 0;
};

inline constexpr std::uint8_t kPayloadSilence = 0;
inline constexpr std::uint8_t kPayloadSpeech = 1;

RelayedVoice DecodeRelayedVoice(const std::uint8_t* data, std::size_t length);

enum class VoiceCheck { Accepted, UnknownKind, Repeat };

// Only kinds 'A' and 'B' count, and a repeat of the sequence accepted just before is dropped.
VoiceCheck CheckRelayedVoice(const RelayedVoice& voice, std::uint8_t lastAcceptedSequence);

struct ListReply {
    int channel = 0;
    int count = 0;
    std::uint16_t members[kMaxListedMembers] = {};
};

// Empty when the datagram is not a list reply or its channel or count does not fit the member table.
std::optional<ListReply> DecodeListReply(const std::uint8_t* data, std::size_t length);

// The notice code of a status reply; empty when the datagram is not one.
std::optional<std::uint8_t> DecodeStatusReply(const std::uint8_t* data, std::size_t length);

enum class SynthKey { None, Press, Release };

SynthKey DecodeSynthKey(const std::uint8_t* data, std::size_t length);
