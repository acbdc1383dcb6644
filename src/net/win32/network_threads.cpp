#include "net/win32/network_threads.h"

#include "session/session_state.h"
#include "build_config.h"
#include "net/presence_loop.h"
#include "net/supervisor.h"
#include "net/voice_receiver.h"

#include <atomic>

namespace {

// The network threads run for the life of the process.
const std::atomic<bool> gForever{true};

} // namespace

DWORD WINAPI PresenceThread(LPVOID) {
    RunPresenceLoop(Session(), kVoiceServerAddress, gForever);
    return 0;
}

DWORD WINAPI VoiceReceiveThread(LPVOID) {
    RunVoiceReceiveLoop(Session(), kVoiceServerAddress);
    return 0;
}

DWORD WINAPI SupervisorThread(LPVOID noticeHandler) {
    RunSupervisorLoop(Session(), kVoiceServerAddress,
                      *static_cast<const SupervisorNoticeHandler*>(noticeHandler), gForever);
    return 0;
}
