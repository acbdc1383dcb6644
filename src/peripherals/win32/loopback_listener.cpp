#include "peripherals/win32/loopback_listener.h"

#include "app/session_state.h"
#include "peripherals/loopback_listener.h"

#include <atomic>

DWORD WINAPI LoopbackListenerThread(LPVOID) {
    static const std::atomic<bool> forever{true};
    RunLoopbackListener(Session(), forever);
    return 0;
}
