#pragma once

#include <cstdint>

#include "net/datagrams.h"

struct SharedState;
struct VoiceLink;

// Opens voiceSocket and supervisorSocket, each with its own socket-library start, and greets the voice server
// at the current channel port from both. 0 on success, -1 when the socket library cannot be started.
// A socket that cannot be bound stays invalid; the greeting is attempted anyway and the light goes yellow.
int OpenVoiceSockets(VoiceLink& link, SharedState& shared, const char* serverAddress);

// Sends the presence datagram of the phase after `phase` on voiceSocket to the current channel port; `phase`
// is the presence loop's own.
void SendPresence(const VoiceLink& link, const SharedState& shared, int& phase, const char* serverAddress);

// Sends one captured block as an audio datagram with the sequence byte `sequence`, which then moves on; the
// sender alone keeps it. The send result is not used.
void SendAudioDatagram(const VoiceLink& link, const SharedState& shared, std::uint8_t& sequence,
                       const char* serverAddress, const std::uint8_t (&block)[kAudioPayloadBytes]);
