#include "net/datagrams.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint8_t kGreeting[kGreetingBytes] = {'T', '.', 'W', 'I', 'N', 0, 0, 0, 0};
constexpr char kPseudoName[] = "WIN.PSEUDO.WIN.";
constexpr char kUnknownDevice[] = "DEVICE.ID";
constexpr char kAudioSource[] = "WIN-APP-Radio";
constexpr std::size_t kPresenceHeaderBytes = 9;
constexpr std::size_t kPcIdentifierDigits = 16;

// Byte `offset` of a received datagram, zero when it was not received.
std::uint8_t ByteAt(const std::uint8_t* data, std::size_t length, std::size_t offset) {
    return offset < length ? data[offset] : std::uint8_t{0};
}

// Length of a text kept in a fixed field that may lack its terminating zero.
std::size_t BoundedLength(const char* text, std::size_t capacity) {
    if (text == nullptr) {
        return 0;
    }
    return static_cast<std::size_t>(std::find(text, text + capacity, '\0') - text);
}

bool IsContinuationByte(char byte) {
    return (static_cast<std::uint8_t>(byte) & 0xC0) == 0x80;
}

// The Windows-1252 byte of the UTF-8 character at `text`, which it steps past: Latin-1 characters keep their
// code, anything else becomes '?'.
std::uint8_t Windows1252Byte(const char*& text) {
    const auto lead = static_cast<std::uint8_t>(*text++);
    if (lead < 0x80) {
        return lead;
    }
    const char* const continuation = text;
    while (IsContinuationByte(*text)) {
        ++text;
    }
    const unsigned code = (lead & 0x1Fu) << 6 | (static_cast<std::uint8_t>(*continuation) & 0x3Fu);
    const bool latin1 = (lead == 0xC2 || lead == 0xC3) && text - continuation == 1 && code >= 0xA0;
    return latin1 ? static_cast<std::uint8_t>(code) : std::uint8_t{'?'};
}

int SignedByte(std::uint8_t byte) {
    return static_cast<std::int8_t>(byte);
}

void PutAccount(std::uint8_t* at, std::uint16_t account) {
    at[0] = static_cast<std::uint8_t>(account & 0xFF);
    at[1] = static_cast<std::uint8_t>(account >> 8);
}

} // namespace

std::size_t EncodeGreeting(std::uint8_t (&out)[kGreetingBytes]) {
    std::memcpy(out, kGreeting, kGreetingBytes);
    return kGreetingBytes;
}

std::size_t EncodeDoubleGreeting(std::uint8_t (&out)[kDoubleGreetingBytes]) {
    std::memcpy(out, kGreeting, kGreetingBytes);
    std::memcpy(out + kGreetingBytes, kGreeting, kGreetingBytes);
    return kDoubleGreetingBytes;
}

std::size_t EncodePresence(std::uint8_t (&out)[kPresenceMaxBytes], int phase, std::uint16_t account,
                           const char* pcIdentifier, std::size_t pcIdentifierCapacity) {
    std::memset(out, 0, sizeof out);
    out[0] = 'R';
    out[1] = '.';
    PutAccount(out + 3, account);
    std::uint8_t* body = out + kPresenceHeaderBytes;
    switch (phase) {
    case 1:
        body[0] = 'N';
        std::memcpy(body + 1, kPseudoName, sizeof kPseudoName - 1);
        return 26;
    case 2: {
        body[0] = 'D';
        const std::size_t idLength = BoundedLength(pcIdentifier, pcIdentifierCapacity);
        if (idLength == kPcIdentifierDigits) {
            std::memcpy(body + 1, pcIdentifier, kPcIdentifierDigits);
            return 27;
        }
        std::memcpy(body + 1, kUnknownDevice, sizeof kUnknownDevice - 1);
        return 20;
    }
    default:
        body[0] = 'V';
        body[1] = static_cast<std::uint8_t>(kVersionText[0]);
        body[2] = static_cast<std::uint8_t>(kVersionText[2]);
        body[3] = static_cast<std::uint8_t>(kVersionText[4]);
        body[4] = 0x02;
        return 14;
    }
}

int NextPresencePhase(int phase) {
    const int next = phase + 1;
    return next >= kPresencePhases || next < 0 ? 0 : next;
}

std::size_t EncodeAudio(std::uint8_t (&out)[kAudioDatagramBytes], std::uint8_t sequence,
                        std::uint16_t account, const std::uint8_t (&payload)[kAudioPayloadBytes]) {
    std::memset(out, 0, kAudioHeaderBytes);
    out[0] = 'A';
    out[1] = sequence;
    out[2] = 0x02;
    PutAccount(out + 3, account);
    out[6] = 'N';
    std::memcpy(out + 7, kAudioSource, sizeof kAudioSource); // with its terminating zero
    std::memcpy(out + kAudioHeaderBytes, payload, kAudioPayloadBytes);
    return kAudioDatagramBytes;
}

std::uint8_t NextAudioSequence(std::uint8_t sequence) {
    return sequence >= 255 ? std::uint8_t{1} : static_cast<std::uint8_t>(sequence + 1);
}

std::size_t EncodeListRequest(std::uint8_t (&out)[kListRequestBytes]) {
    out[0] = 'L';
    out[1] = 0;
    out[2] = 0;
    return kListRequestBytes;
}

std::size_t EncodeStatusRequest(std::uint8_t (&out)[kStatusRequestBytes], int relayByte) {
    out[0] = 'A';
    out[1] = 0x01;
    out[2] = static_cast<std::uint8_t>(relayByte & 0xFF);
    return kStatusRequestBytes;
}

std::size_t EncodeSpeechText(std::uint8_t (&out)[kSpeechTextMaxBytes], const char* text) {
    out[0] = 0x01;
    std::size_t length = 0;
    for (const char* next = text; next != nullptr && *next != '\0' && length < kSpeechTextMaxChars;) {
        out[1 + length++] = Windows1252Byte(next);
    }
    return length + 1;
}

std::size_t EncodeSynthStop(std::uint8_t (&out)[1]) {
    out[0] = 0xFF;
    return 1;
}

RelayedVoice DecodeRelayedVoice(const std::uint8_t* data, std::size_t length) {
    length = std::min(length, kReceiveBufferBytes);
    RelayedVoice voice;
    voice.kind = ByteAt(data, length, 0);
    voice.sequence = ByteAt(data, length, 1);
    voice.relayByte = SignedByte(ByteAt(data, length, 2));
    voice.speakerAccount =
        static_cast<std::uint16_t>(ByteAt(data, length, 3) | (ByteAt(data, length, 4) << 8));
    voice.errorLevel = SignedByte(ByteAt(data, length, 5));
    voice.payloadFlag = ByteAt(data, length, 7);
    if (length > kAudioHeaderBytes) {
        voice.payload = data + kAudioHeaderBytes;
        voice.payloadReceived = length - kAudioHeaderBytes;
    }
    return voice;
}

VoiceCheck CheckRelayedVoice(const RelayedVoice& voice, std::uint8_t lastAcceptedSequence) {
    if (voice.kind != 'A' && voice.kind != 'B') {
        return VoiceCheck::UnknownKind;
    }
    return voice.sequence == lastAcceptedSequence ? VoiceCheck::Repeat : VoiceCheck::Accepted;
}

std::optional<ListReply> DecodeListReply(const std::uint8_t* data, std::size_t length) {
    length = std::min(length, kReceiveBufferBytes);
    if (ByteAt(data, length, 0) != 'L') {
        return std::nullopt;
    }
    ListReply reply;
    reply.channel = SignedByte(ByteAt(data, length, 1));
    reply.count = SignedByte(ByteAt(data, length, 2));
    if (reply.channel < 0 || reply.channel > kMaxListedChannel || reply.count < 0 ||
        reply.count > kMaxListedMembers) {
        return std::nullopt;
    }
    for (int i = 0; i < reply.count; ++i) {
        const std::size_t at = 3 + 2 * static_cast<std::size_t>(i);
        reply.members[i] =
            static_cast<std::uint16_t>(ByteAt(data, length, at) | (ByteAt(data, length, at + 1) << 8));
    }
    return reply;
}

std::optional<std::uint8_t> DecodeStatusReply(const std::uint8_t* data, std::size_t length) {
    if (ByteAt(data, length, 0) != 'A') {
        return std::nullopt;
    }
    return ByteAt(data, length, 2);
}

SynthKey DecodeSynthKey(const std::uint8_t* data, std::size_t length) {
    if (length == 0) {
        return SynthKey::None;
    }
    switch (data[0]) {
    case 'T':
        return SynthKey::Press;
    case 'R':
        return SynthKey::Release;
    default:
        return SynthKey::None;
    }
}
