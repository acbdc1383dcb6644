#pragma once

#include <atomic>

struct SessionState;

// Pause after each presence datagram: the better the link the voice server reports, the faster the stream.
int PresencePauseMs(int errorLevel);

// Sends presence datagrams paced by the error level, until `running` turns false.
void RunPresenceLoop(SessionState& session, const char* serverAddress, const std::atomic<bool>& running);
