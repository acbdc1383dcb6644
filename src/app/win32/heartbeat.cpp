#include "app/win32/heartbeat.h"

#include "app/session_state.h"

namespace {
constexpr DWORD kHeartbeatHalfPeriodMs = 5000;
}

DWORD WINAPI HeartbeatThread(LPVOID) {
    for (;;) {
        Sleep(kHeartbeatHalfPeriodMs);
        Session().lights.tcp.store(kLedBlue, std::memory_order_relaxed);
        Sleep(kHeartbeatHalfPeriodMs);
        Session().lights.tcp.store(kLedDarkBlue, std::memory_order_relaxed);
    }
}
