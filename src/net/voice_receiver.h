#pragma once

struct SessionState;

// The receive loop wakes at least this often, so the error level falls to "nothing received" quickly.
inline constexpr int kVoicePollTimeoutMs = 500;

// Empties the playback queue, queues five slots of silence ahead of the first sound and sets rxRunning.
void StartVoiceReception(SessionState& session);

// Waits up to `pollTimeoutMs` for one relayed voice datagram on voiceSocket and acts on it. A socket that
// cannot be polled at all costs the same wait, so a broken socket never makes the loop spin.
void ReceiveVoiceOnce(SessionState& session, int pollTimeoutMs);

// The voice receive thread's body: runs while rxRunning stays 1.
void RunVoiceReceiveLoop(SessionState& session, int pollTimeoutMs = kVoicePollTimeoutMs);
