#include "net/voice_sockets.h"

#include "net/voice_link.h"
#include "platform/udp_socket.h"
#include "session/shared_state.h"

namespace {

// A socket bound on every address (the voice server may be anywhere), or invalid with its library start
// released again.
SocketHandle OpenOrRelease() {
    const SocketHandle socket = OpenUdpSocket(LocalAddress::Any);
    if (socket == kInvalidSocket) {
        CleanupSocketLibrary();
    }
    return socket;
}

std::uint16_t Account(const SharedState& shared) {
    return static_cast<std::uint16_t>(shared.accountNumber.load(std::memory_order_relaxed) & 0xFFFF);
}

} // namespace

int OpenVoiceSockets(VoiceLink& link, SharedState& shared, const char* serverAddress) {
    if (!StartSocketLibrary()) {
        shared.lights.udp = kLedRed;
        return -1;
    }
    link.voiceSocket = OpenOrRelease();
    std::uint8_t greeting[kGreetingBytes];
    SendDatagram(link.voiceSocket, serverAddress, shared.channelPort, greeting, EncodeGreeting(greeting));
    shared.lights.udp = kLedYellow;

    if (!StartSocketLibrary()) {
        shared.lights.svc = kLedRed;
        return -1;
    }
    link.supervisorSocket = OpenOrRelease();
    std::uint8_t doubleGreeting[kDoubleGreetingBytes];
    SendDatagram(link.supervisorSocket, serverAddress, shared.channelPort, doubleGreeting,
                 EncodeDoubleGreeting(doubleGreeting));
    shared.lights.svc = kLedYellow;
    return 0;
}

void SendPresence(const VoiceLink& link, const SharedState& shared, int& phase, const char* serverAddress) {
    phase = NextPresencePhase(phase);
    std::uint8_t datagram[kPresenceMaxBytes];
    const std::size_t length =
        EncodePresence(datagram, phase, Account(shared), shared.pcIdentifier, sizeof shared.pcIdentifier);
    SendDatagram(link.voiceSocket, serverAddress, shared.channelPort, datagram, length);
}

void SendAudioDatagram(const VoiceLink& link, const SharedState& shared, std::uint8_t& sequence,
                       const char* serverAddress, const std::uint8_t (&block)[kAudioPayloadBytes]) {
    std::uint8_t datagram[kAudioDatagramBytes];
    EncodeAudio(datagram, sequence, Account(shared), block);
    sequence = NextAudioSequence(sequence);
    SendDatagram(link.voiceSocket, serverAddress, shared.channelPort, datagram, sizeof datagram);
}
