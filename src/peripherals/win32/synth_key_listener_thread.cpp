#include "peripherals/win32/synth_key_listener_thread.h"

#include "peripherals/synth_key_listener.h"

#include <atomic>

DWORD WINAPI SynthKeyListenerThread(LPVOID parameter) {
    static const std::atomic<bool> forever{true};
    const SynthKeyListenerWiring& wiring = *static_cast<SynthKeyListenerWiring*>(parameter);
    RunSynthKeyListener(wiring.link, wiring.pushToTalk, forever);
    return 0;
}
