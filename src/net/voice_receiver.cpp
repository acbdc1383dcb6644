#include "net/voice_receiver.h"

#include "session/session_state.h"
#include "net/datagrams.h"
#include "net/sender_filter.h"
#include "platform/pause.h"
#include "platform/udp_socket.h"

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

// Appends the payload to the playback queue; a datagram cut short plays its missing tail as silence.
void QueuePayload(SessionState& session, const RelayedVoice& voice) {
    if (voice.payloadFlag == kPayloadSilence) {
        session.playbackQueue.Append(nullptr, 0);
        return;
    }
    if (voice.payloadFlag != kPayloadSpeech) {
        return;
    }
    const bool attenuate =
        voice.kind == 'B' && session.channelPort.load(std::memory_order_relaxed) == kAttenuatedChannelPort;
    if (!attenuate) {
        session.playbackQueue.Append(voice.payload, voice.payloadReceived);
        return;
    }
    std::uint8_t payload[kAudioPayloadBytes] = {};
    if (voice.payloadReceived > 0) {
        std::memcpy(payload, voice.payload, std::min(voice.payloadReceived, sizeof payload));
    }
    AttenuateToATenth(payload);
    session.playbackQueue.Append(payload, sizeof payload);
}

void BlinkUdpLight(SessionState& session) {
    if (session.udpBlinkCount == kUdpBlinkGreenAt) {
        session.udpLed = kLedGreen;
    } else if (session.udpBlinkCount == 0) {
        session.udpLed = kLedBlue;
    }
    session.udpBlinkCount = (session.udpBlinkCount + 1) % kUdpBlinkPeriod;
}

void AcceptVoice(SessionState& session, const RelayedVoice& voice) {
    session.lastRxSequence = voice.sequence;
    session.tstLed = kLedGreen;
    QueuePayload(session, voice);
    if (!session.pushToTalk.IsUserTalking()) {
        const int ringPos =
            std::clamp(session.playbackRingPos.load(std::memory_order_relaxed), 0, kRingLights - 1);
        session.networkRing[ringPos] = kLedGreen;
    }
    session.relayByte = voice.relayByte;
    session.speakerAccount = voice.speakerAccount;
    session.errorLevel = voice.errorLevel;
    BlinkUdpLight(session);
}

} // namespace

void StartVoiceReception(SessionState& session, int waitMs) {
    SetReceiveTimeout(session.voiceSocket, waitMs);
    session.playbackQueue.Reset();
    session.rxRunning = 1;
}

void ReceiveVoiceOnce(SessionState& session, const SenderFilter& voiceServer, int waitMs) {
    std::uint8_t buffer[kReceiveBufferBytes];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    const int received = ReceiveFromAccepted(session.voiceSocket, voiceServer, buffer, sizeof buffer,
                                             deadline, session.droppedVoiceDatagrams);
    if (received <= 0) {
        session.errorLevel = kErrorLevelNothingReceived;
        if (received == -1) {
            PauseMs(waitMs);
        }
        return;
    }
    const RelayedVoice voice = DecodeRelayedVoice(buffer, static_cast<std::size_t>(received));
    switch (CheckRelayedVoice(voice, session.lastRxSequence)) {
    case VoiceCheck::UnknownKind:
        session.tstLed = kLedYellow;
        return;
    case VoiceCheck::Repeat:
        session.tstLed = kLedRed;
        return;
    case VoiceCheck::Accepted:
        AcceptVoice(session, voice);
        return;
    }
}

void RunVoiceReceiveLoop(SessionState& session, const char* serverAddress, int waitMs) {
    const SenderFilter voiceServer = SenderFilter::OnlyFrom(serverAddress);
    StartVoiceReception(session, waitMs);
    while (session.rxRunning.load(std::memory_order_relaxed) == 1) {
        ReceiveVoiceOnce(session, voiceServer, waitMs);
    }
}
