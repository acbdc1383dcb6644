#include "net/voice_receiver.h"

#include "net/datagrams.h"
#include "net/sender_filter.h"
#include "net/voice_link.h"
#include "platform/pause.h"
#include "platform/udp_socket.h"
#include "session/shared_state.h"
#include "session/speech_sink.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {

constexpr int kSamplesPerPayload = static_cast<int>(kAudioPayloadBytes / 2);
constexpr int kAttenuatedChannelPort = kLastChannelPort;
constexpr int kUdpBlinkPeriod = 10;
constexpr int kUdpBlinkGreenAt = 5;

// Every 16-bit little-endian sample cut to a tenth, rounded toward zero.
void AttenuateToATenth(std::uint8_t (&payload)[kAudioPayloadBytes]) {
    for (int i = 0; i < kSamplesPerPayload; ++i) {
        std::uint8_t* at = payload + 2 * i;
        const auto sample = static_cast<std::int16_t>(at[0] | (at[1] << 8));
        const auto quieter = static_cast<std::uint16_t>(static_cast<std::int16_t>(sample / 10));
        at[0] = static_cast<std::uint8_t>(quieter & 0xFF);
        at[1] = static_cast<std::uint8_t>(quieter >> 8);
    }
}

} // namespace

// Appends the payload to the speech sink; a datagram cut short plays its missing tail as silence.
void VoiceReceiver::QueuePayload(const RelayedVoice& voice) {
    if (voice.payloadFlag == kPayloadSilence) {
        speech_.Append(nullptr, 0);
        return;
    }
    if (voice.payloadFlag != kPayloadSpeech) {
        return;
    }
    const bool attenuate =
        voice.kind == 'B' && shared_.channelPort.load(std::memory_order_relaxed) == kAttenuatedChannelPort;
    if (!attenuate) {
        speech_.Append(voice.payload, voice.payloadReceived);
        return;
    }
    std::uint8_t payload[kAudioPayloadBytes] = {};
    if (voice.payloadReceived > 0) {
        std::memcpy(payload, voice.payload, std::min(voice.payloadReceived, sizeof payload));
    }
    AttenuateToATenth(payload);
    speech_.Append(payload, sizeof payload);
}

void VoiceReceiver::BlinkUdpLight() {
    if (udpBlinkCount_ == kUdpBlinkGreenAt) {
        shared_.lights.udp = kLedGreen;
    } else if (udpBlinkCount_ == 0) {
        shared_.lights.udp = kLedBlue;
    }
    udpBlinkCount_ = (udpBlinkCount_ + 1) % kUdpBlinkPeriod;
}

void VoiceReceiver::Accept(const RelayedVoice& voice) {
    lastSequence_ = voice.sequence;
    shared_.lights.tst = kLedGreen;
    QueuePayload(voice);
    if (!shared_.pushToTalk.IsUserTalking()) {
        const int ringPos = std::clamp(shared_.lights.playbackRingPos.load(std::memory_order_relaxed), 0,
                                       kNetworkRingLights - 1);
        shared_.lights.ring[ringPos] = kLedGreen;
    }
    link_.relayByte = voice.relayByte;
    link_.speakerAccount = voice.speakerAccount;
    link_.errorLevel = voice.errorLevel;
    BlinkUdpLight();
}

void VoiceReceiver::Start(int waitMs) {
    SetReceiveTimeout(link_.voiceSocket, waitMs);
    speech_.Reset();
}

void VoiceReceiver::ReceiveOnce(const SenderFilter& voiceServer, int waitMs) {
    std::uint8_t buffer[kReceiveBufferBytes];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    const int received = ReceiveFromAccepted(link_.voiceSocket, voiceServer, buffer, sizeof buffer, deadline,
                                             link_.droppedVoiceDatagrams);
    if (received <= 0) {
        link_.errorLevel = kErrorLevelNothingReceived;
        if (received == -1) {
            PauseMs(waitMs);
        }
        return;
    }
    const RelayedVoice voice = DecodeRelayedVoice(buffer, static_cast<std::size_t>(received));
    switch (CheckRelayedVoice(voice, lastSequence_)) {
    case VoiceCheck::UnknownKind:
        shared_.lights.tst = kLedYellow;
        return;
    case VoiceCheck::Repeat:
        shared_.lights.tst = kLedRed;
        return;
    case VoiceCheck::Accepted:
        Accept(voice);
        return;
    }
}

void RunVoiceReceiveLoop(VoiceLink& link, SharedState& shared, SpeechSink& speech, const char* serverAddress,
                         const std::atomic<bool>& running, int waitMs) {
    const SenderFilter voiceServer = SenderFilter::OnlyFrom(serverAddress);
    VoiceReceiver receiver(link, shared, speech);
    receiver.Start(waitMs);
    while (running.load(std::memory_order_relaxed)) {
        receiver.ReceiveOnce(voiceServer, waitMs);
    }
}
