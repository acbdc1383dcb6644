#pragma once

#include "platform/socket_handle.h"

#include <atomic>
#include <cstdint>

// The socket to the companion synthesiser: start-up opens it, the main thread sends on it and the key
// listener receives on it.
struct SynthLink {
    std::atomic<SocketHandle> synthSocket{kInvalidSocket};
    // Datagrams from anybody but a program of this machine, dropped unread by the key listener
    std::atomic<std::uint32_t> droppedSynthDatagrams{0};
};

// Asks the synthesiser to speak a text; the send result is not used.
void SendSpeechText(const SynthLink& link, const char* text);

// Asks the synthesiser to close.
void SendSynthStop(const SynthLink& link);

// Ends the key listener's wait for a datagram at once, with an empty datagram from synthSocket to itself.
void WakeSynthKeyListener(const SynthLink& link);

// Opens synthSocket on 127.0.0.1 and an ephemeral port and greets the synthesiser. When the socket library
// cannot be started or the socket cannot be bound, synthSocket stays invalid and nothing is sent; false then.
bool OpenSynthSocketAndGreet(SynthLink& link);
