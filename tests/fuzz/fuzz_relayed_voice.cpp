// Relayed voice datagrams come from the network: whatever their length, decoding reads only what arrived.
#include "net/datagrams.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const RelayedVoice voice = DecodeRelayedVoice(data, size);
    if (voice.payloadReceived > kAudioPayloadBytes ||
        (voice.payloadReceived > 0 && voice.payload + voice.payloadReceived > data + size)) {
        std::abort();
    }
    std::uint8_t slot[kAudioPayloadBytes] = {};
    if (voice.payloadReceived > 0) {
        std::memcpy(slot, voice.payload, voice.payloadReceived); // ASan reports any byte beyond the datagram
    }
    if (voice.relayByte < -128 || voice.relayByte > 127 || voice.errorLevel < -128 ||
        voice.errorLevel > 127) {
        std::abort();
    }
    const VoiceCheck check = CheckRelayedVoice(voice, static_cast<std::uint8_t>(size));
    if (check != VoiceCheck::UnknownKind && voice.kind != 'A' && voice.kind != 'B') {
        std::abort();
    }
    return 0;
}
