#include "peripherals/win32/synth_key_listener_thread.h"

#include "session/session_state.h"
#include "peripherals/synth_key_listener.h"

#include <atomic>

DWORD WINAPI SynthKeyListenerThread(LPVOID) {
    static const std::atomic<bool> forever{true};
    RunSynthKeyListener(Session(), forever);
    return 0;
}
