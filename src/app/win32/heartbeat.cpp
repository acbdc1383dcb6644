#include "app/win32/heartbeat.h"

#include "app/subsystem_states.h"

namespace {

constexpr DWORD kHeartbeatHalfPeriodMs = 5000;

// A failed wait ends the thread too: retrying it at once would spin.
bool StopWithin(HANDLE stop, DWORD milliseconds) {
    return WaitForSingleObject(stop, milliseconds) != WAIT_TIMEOUT;
}

} // namespace

DWORD WINAPI HeartbeatThread(LPVOID stopEvent) {
    const HANDLE stop = stopEvent;
    while (!StopWithin(stop, kHeartbeatHalfPeriodMs)) {
        Shared().lights.tcp.store(kLedBlue, std::memory_order_relaxed);
        if (StopWithin(stop, kHeartbeatHalfPeriodMs)) {
            break;
        }
        Shared().lights.tcp.store(kLedDarkBlue, std::memory_order_relaxed);
    }
    return 0;
}
