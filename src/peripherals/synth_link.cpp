#include "peripherals/synth_link.h"

#include "session/session_state.h"
#include "net/datagrams.h"
#include "peripherals/synth_key_listener.h"
#include "platform/udp_socket.h"

void SendSpeechText(SessionState& session, const char* text) {
    std::uint8_t datagram[kSpeechTextMaxBytes];
    const std::size_t length = EncodeSpeechText(datagram, text);
    SendDatagram(session.synthSocket, kSynthesiserAddress, kSynthesiserPort, datagram, length);
}

void SendSynthStop(SessionState& session) {
    std::uint8_t datagram[1];
    const std::size_t length = EncodeSynthStop(datagram);
    SendDatagram(session.synthSocket, kSynthesiserAddress, kSynthesiserPort, datagram, length);
}

bool OpenSynthSocketAndGreet(SessionState& session) {
    if (!StartSocketLibrary()) {
        session.synthSocket = kInvalidSocket;
        return false;
    }
    // The synthesiser runs on this machine: no other host needs to reach this socket.
    const SocketHandle socket = OpenUdpSocket(LocalAddress::Loopback);
    if (socket == kInvalidSocket) {
        CleanupSocketLibrary();
        session.synthSocket = kInvalidSocket;
        return false;
    }
    // The key listener's receive then ends after one wait, so its thread can be asked to end.
    SetReceiveTimeout(socket, kListenerReceiveWaitMs);
    session.synthSocket = socket;
    SendSpeechText(session, kSynthesiserGreeting);
    return true;
}
