#include "net/voice_sockets.h"

#include "session/session_state.h"
#include "audio/level_update.h"
#include "audio/network_ring.h"
#include "platform/udp_socket.h"

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

std::uint16_t Account(const SessionState& session) {
    return static_cast<std::uint16_t>(session.accountNumber.load(std::memory_order_relaxed) & 0xFFFF);
}

} // namespace

int OpenVoiceSockets(SessionState& session, const char* serverAddress) {
    if (!StartSocketLibrary()) {
        session.udpLed = kLedRed;
        return -1;
    }
    session.voiceSocket = OpenOrRelease();
    std::uint8_t greeting[kGreetingBytes];
    SendDatagram(session.voiceSocket, serverAddress, session.channelPort, greeting, EncodeGreeting(greeting));
    session.udpLed = kLedYellow;

    if (!StartSocketLibrary()) {
        session.svcLed = kLedRed;
        return -1;
    }
    session.supervisorSocket = OpenOrRelease();
    std::uint8_t doubleGreeting[kDoubleGreetingBytes];
    SendDatagram(session.supervisorSocket, serverAddress, session.channelPort, doubleGreeting,
                 EncodeDoubleGreeting(doubleGreeting));
    session.svcLed = kLedYellow;
    return 0;
}

void SendPresence(SessionState& session, const char* serverAddress) {
    session.presencePhase = NextPresencePhase(session.presencePhase);
    std::uint8_t datagram[kPresenceMaxBytes];
    const std::size_t length = EncodePresence(datagram, session.presencePhase, Account(session),
                                              session.pcIdentifier, sizeof session.pcIdentifier);
    SendDatagram(session.voiceSocket, serverAddress, session.channelPort, datagram, length);
}

void SendAudioDatagram(SessionState& session, const char* serverAddress,
                       const std::uint8_t (&block)[kAudioPayloadBytes]) {
    std::uint8_t datagram[kAudioDatagramBytes];
    EncodeAudio(datagram, session.txSequence, Account(session), block);
    session.txSequence = NextAudioSequence(session.txSequence);
    SendDatagram(session.voiceSocket, serverAddress, session.channelPort, datagram, sizeof datagram);

    const CaptureLevels levels = UpdateCaptureLevels(session.smoothedLeftPeak, block);
    session.smoothedLeftPeak = levels.smoothedLeftPeak;
    session.leftNeedleAngle.store(levels.leftNeedleAngle, std::memory_order_relaxed);
    session.rightNeedleAngle.store(levels.rightNeedleAngle, std::memory_order_relaxed);
    TransmitRingStep(session.txRingCounter, session.txRingPos, session.networkRing);
}
