#include "app/win32/heartbeat.h"

#include "app/subsystem_states.h"

namespace {
constexpr DWORD kHeartbeatHalfPeriodMs = 5000;
}

DWORD WINAPI HeartbeatThread(LPVOID) {
    for (;;) {
        Sleep(kHeartbeatHalfPeriodMs);
        Shared().lights.tcp.store(kLedBlue, std::memory_order_relaxed);
        Sleep(kHeartbeatHalfPeriodMs);
        Shared().lights.tcp.store(kLedDarkBlue, std::memory_order_relaxed);
    }
}
