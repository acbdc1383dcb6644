#pragma once

#include <atomic>

// The accessory thread and shutdown agree on these two flags through the three calls below, so that a
// shutdown arriving before the thread has even started still ends the thread and its wait.
struct AccessoryRunFlags {
    std::atomic<bool> serialRunning{false};
    std::atomic<bool> accessoryStopRequested{false};
};

// Called by the accessory thread as it begins: sets serialRunning unless shutdown already asked it
// to stop; returns whether the thread should run at all.
bool BeginAccessoryRun(AccessoryRunFlags& flags);

// Polled by the accessory thread's loop.
bool AccessoryShouldKeepRunning(const AccessoryRunFlags& flags);

// Called by shutdown before it waits for the thread.
void RequestAccessoryStop(AccessoryRunFlags& flags);
