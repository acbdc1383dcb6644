#include "peripherals/win32/synth_key_listener_thread.h"

#include "peripherals/synth_key_listener.h"

DWORD WINAPI SynthKeyListenerThread(LPVOID parameter) {
    SynthKeyListenerWiring& wiring = *static_cast<SynthKeyListenerWiring*>(parameter);
    RunSynthKeyListener(wiring.link, wiring.pushToTalk, wiring.running);
    return 0;
}
