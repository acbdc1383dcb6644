#pragma once

#include <cstdint>

#include "net/datagrams.h"

struct SessionState;

// Opens voiceSocket and supervisorSocket, each with its own socket-library start, and greets the voice server
// at the current channel port from both. 0 on success, -1 when the socket library cannot be started.
// A socket that cannot be bound stays invalid; the greeting is attempted anyway and the light goes yellow.
int OpenVoiceSockets(SessionState& session, const char* serverAddress);

// Sends the presence datagram of the next phase on voiceSocket to the current channel port.
void SendPresence(SessionState& session, const char* serverAddress);

// Sends one captured block as an audio datagram with the next sequence byte; the send result is not used.
// The needles then follow the block, and the NETWORK ring's transmit animation takes its step.
void SendAudioDatagram(SessionState& session, const char* serverAddress,
                       const std::uint8_t (&block)[kAudioPayloadBytes]);
