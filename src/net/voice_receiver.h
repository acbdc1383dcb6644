#pragma once

struct SessionState;

// The receive loop wakes at least this often, so the error level falls to "nothing received" quickly.
inline constexpr int kVoiceReceiveWaitMs = 500;

// Gives voiceSocket a receive time-out of `waitMs`, empties the playback queue, queues five slots of silence
// ahead of the first sound and sets rxRunning.
void StartVoiceReception(SessionState& session, int waitMs = kVoiceReceiveWaitMs);

// One blocking receive on voiceSocket, which the time-out StartVoiceReception gave ends, and what the
// datagram asks for. A failed socket costs a pause of `waitMs`, so a broken socket never makes the loop spin.
void ReceiveVoiceOnce(SessionState& session, int waitMs);

// The voice receive thread's body: runs while rxRunning stays 1.
void RunVoiceReceiveLoop(SessionState& session, int waitMs = kVoiceReceiveWaitMs);
