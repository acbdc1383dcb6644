#pragma once

#include "session/session_state.h"

// The accessory thread and shutdown agree on serialRunning through these three calls, so that a
// shutdown arriving before the thread has even started still ends the thread and its wait.

// Called by the accessory thread as it begins: sets serialRunning unless shutdown already asked it
// to stop; returns whether the thread should run at all.
bool BeginAccessoryRun(SessionState& session);

// Polled by the accessory thread's loop.
bool AccessoryShouldKeepRunning(const SessionState& session);

// Called by shutdown before it waits for the thread.
void RequestAccessoryStop(SessionState& session);
