#include "net/voice_receiver.h"

#include "session/session_state.h"
#include "net/datagrams.h"
#include "platform/udp_socket.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

constexpr std::size_t kSamplesPerPayload = kAudioPayloadBytes / 2;
constexpr int kAttenuatedChannelPort = kLastChannelPort;
constexpr int kUdpBlinkPeriod = 10;
constexpr int kUdpBlinkGreenAt = 5;

// Every 16-bit little-endian sample cut to a tenth, rounded toward zero.
void AttenuateToATenth(std::uint8_t (&slot)[kAudioPayloadBytes]) {
    for (std::size_t i = 0; i < kSamplesPerPayload; ++i) {
        std::uint8_t* at = slot + 2 * i;
        const auto sample = static_cast<std::int16_t>(at[0] | (at[1] << 8));
        const auto quieter = static_cast<std::uint16_t>(static_cast<std::int16_t>(sample / 10));
        at[0] = static_cast<std::uint8_t>(quieter & 0xFF);
        at[1] = static_cast<std::uint8_t>(quieter >> 8);
    }
}

// Appends the payload to the playback queue; a full queue keeps overwriting its last slot.
void QueuePayload(SessionState& session, const RelayedVoice& voice) {
    if (voice.payloadFlag != kPayloadSilence && voice.payloadFlag != kPayloadSpeech) {
        return;
    }
    const bool attenuate =
        voice.kind == 'B' && session.channelPort.load(std::memory_order_relaxed) == kAttenuatedChannelPort;
    std::lock_guard<std::mutex> hold(session.playbackQueueLock);
    const int fill = std::clamp(session.playbackFill, 0, kPlaybackSlots - 1);
    std::uint8_t(&slot)[kAudioPayloadBytes] = session.playbackQueue[fill];
    std::memset(slot, 0, sizeof slot);
    if (voice.payloadFlag == kPayloadSpeech && voice.payloadReceived > 0) {
        std::memcpy(slot, voice.payload, std::min(voice.payloadReceived, sizeof slot));
        if (attenuate) {
            AttenuateToATenth(slot);
        }
    }
    session.playbackFill = std::min(fill + 1, kPlaybackSlots - 1);
}

bool IsTransmitting(SessionState& session) {
    std::lock_guard<std::mutex> hold(session.pttLock);
    return session.pttKeyState == kPttTalk || session.pttSerialState == kPttTalk;
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
    if (!IsTransmitting(session)) {
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

void StartVoiceReception(SessionState& session) {
    {
        std::lock_guard<std::mutex> hold(session.playbackQueueLock);
        std::memset(session.playbackQueue, 0, sizeof session.playbackQueue);
        session.playbackFill = kPlaybackFillAtStart;
    }
    session.rxRunning = 1;
}

void ReceiveVoiceOnce(SessionState& session, int pollTimeoutMs) {
    const SocketHandle socket = session.voiceSocket.load(std::memory_order_relaxed);
    const PollResult poll = PollReadable(socket, pollTimeoutMs);
    std::uint8_t buffer[kReceiveBufferBytes];
    const int received = poll == PollResult::Readable ? ReceiveDatagram(socket, buffer, sizeof buffer) : -1;
    if (received <= 0) {
        session.errorLevel = kErrorLevelNothingReceived;
        if (poll == PollResult::Failed) {
            std::this_thread::sleep_for(std::chrono::milliseconds(pollTimeoutMs));
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

void RunVoiceReceiveLoop(SessionState& session, int pollTimeoutMs) {
    StartVoiceReception(session);
    while (session.rxRunning.load(std::memory_order_relaxed) == 1) {
        ReceiveVoiceOnce(session, pollTimeoutMs);
    }
}
