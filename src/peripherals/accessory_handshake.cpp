#include "peripherals/accessory_handshake.h"

bool BeginAccessoryRun(AccessoryRunFlags& flags) {
    // Publish "running" first, then look for a stop request: whichever side comes second sees the other.
    flags.serialRunning.store(true);
    if (flags.accessoryStopRequested.load()) {
        flags.serialRunning.store(false);
        return false;
    }
    return true;
}

bool AccessoryShouldKeepRunning(const AccessoryRunFlags& flags) {
    return flags.serialRunning.load() && !flags.accessoryStopRequested.load();
}

void RequestAccessoryStop(AccessoryRunFlags& flags) {
    flags.accessoryStopRequested.store(true);
    flags.serialRunning.store(false);
}
