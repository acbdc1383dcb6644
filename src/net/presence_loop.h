#pragma once

#include <atomic>

struct SharedState;
struct VoiceLink;

// Pause after each presence datagram: the better the link the voice server reports, the faster the stream.
int PresencePauseMs(int errorLevel);

// Sends presence datagrams paced by the error level, until `running` turns false.
void RunPresenceLoop(const VoiceLink& link, const SharedState& shared, const char* serverAddress,
                     const std::atomic<bool>& running);
