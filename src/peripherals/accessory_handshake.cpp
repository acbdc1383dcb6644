#include "peripherals/accessory_handshake.h"

bool BeginAccessoryRun(SessionState& session) {
    // Publish "running" first, then look for a stop request: whichever side comes second sees the other.
    session.serialRunning.store(true);
    if (session.accessoryStopRequested.load()) {
        session.serialRunning.store(false);
        return false;
    }
    return true;
}

bool AccessoryShouldKeepRunning(const SessionState& session) {
    return session.serialRunning.load() && !session.accessoryStopRequested.load();
}

void RequestAccessoryStop(SessionState& session) {
    session.accessoryStopRequested.store(true);
    session.serialRunning.store(false);
}
