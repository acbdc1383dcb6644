#include "net/win32/network_threads.h"

#include "build_config.h"
#include "net/presence_loop.h"
#include "net/voice_receiver.h"

namespace {

VoiceNetwork& NetworkOf(LPVOID parameter) {
    return *static_cast<VoiceNetwork*>(parameter);
}

} // namespace

DWORD WINAPI PresenceThread(LPVOID parameter) {
    const VoiceNetwork& network = NetworkOf(parameter);
    RunPresenceLoop(network.link, network.shared, kVoiceServerAddress, network.stop.Running());
    return 0;
}

DWORD WINAPI VoiceReceiveThread(LPVOID parameter) {
    const VoiceNetwork& network = NetworkOf(parameter);
    RunVoiceReceiveLoop(network.link, network.shared, network.speech, kVoiceServerAddress,
                        network.stop.Running());
    return 0;
}

DWORD WINAPI SupervisorThread(LPVOID parameter) {
    VoiceNetwork& network = NetworkOf(parameter);
    RunSupervisorLoop(network.link, network.shared, kVoiceServerAddress, network.onNotice, network.stop);
    return 0;
}
