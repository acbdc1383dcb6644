#include "peripherals/synth_link.h"

#include "net/datagrams.h"
#include "peripherals/synth_key_listener.h"
#include "platform/udp_socket.h"
#include "session/user_texts.h"

void SendSpeechText(const SynthLink& link, const char* text) {
    std::uint8_t datagram[kSpeechTextMaxBytes];
    const std::size_t length = EncodeSpeechText(datagram, text);
    SendDatagram(link.synthSocket, kSynthesiserAddress, kSynthesiserPort, datagram, length);
}

void SendSynthStop(const SynthLink& link) {
    std::uint8_t datagram[1];
    const std::size_t length = EncodeSynthStop(datagram);
    SendDatagram(link.synthSocket, kSynthesiserAddress, kSynthesiserPort, datagram, length);
}

void WakeSynthKeyListener(const SynthLink& link) {
    const std::uint8_t nothing = 0;
    SendDatagram(link.synthSocket, kSynthesiserAddress, LocalPort(link.synthSocket), &nothing, 0);
}

bool OpenSynthSocketAndGreet(SynthLink& link) {
    if (!StartSocketLibrary()) {
        link.synthSocket = kInvalidSocket;
        return false;
    }
    // The synthesiser runs on this machine: no other host needs to reach this socket.
    const SocketHandle socket = OpenUdpSocket(LocalAddress::Loopback);
    if (socket == kInvalidSocket) {
        CleanupSocketLibrary();
        link.synthSocket = kInvalidSocket;
        return false;
    }
    // The key listener's receive then ends after one wait, so its thread can be asked to end.
    SetReceiveTimeout(socket, kListenerReceiveWaitMs);
    link.synthSocket = socket;
    SendSpeechText(link, kSynthesiserGreeting);
    return true;
}
