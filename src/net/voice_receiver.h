#pragma once

struct SessionState;
class SenderFilter;

// The receive loop wakes at least this often, so the error level falls to "nothing received" quickly.
inline constexpr int kVoiceReceiveWaitMs = 500;

// Gives voiceSocket a receive time-out of `waitMs`, empties the playback queue, queues five slots of silence
// ahead of the first sound and sets rxRunning.
void StartVoiceReception(SessionState& session, int waitMs = kVoiceReceiveWaitMs);

// Waits up to `waitMs` (the time-out StartVoiceReception gave) for a datagram of the voice server on
// voiceSocket, and does what it asks; anybody else's are dropped and counted. A failed socket costs a pause
// of `waitMs`, so a broken socket never makes the loop spin.
void ReceiveVoiceOnce(SessionState& session, const SenderFilter& voiceServer, int waitMs);

// The voice receive thread's body: runs while rxRunning stays 1, taking datagrams from `serverAddress` only.
void RunVoiceReceiveLoop(SessionState& session, const char* serverAddress, int waitMs = kVoiceReceiveWaitMs);
