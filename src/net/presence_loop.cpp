#include "net/presence_loop.h"

#include "net/voice_link.h"
#include "net/voice_sockets.h"
#include "platform/pause.h"

int PresencePauseMs(int errorLevel) {
    switch (errorLevel) {
    case 0:
        return 10;
    case 1:
        return 15;
    case 2:
        return 20;
    case 3:
        return 25;
    default:
        return 30;
    }
}

void RunPresenceLoop(const VoiceLink& link, const SharedState& shared, const char* serverAddress,
                     const std::atomic<bool>& running) {
    int phase = 0;
    while (running.load(std::memory_order_relaxed)) {
        SendPresence(link, shared, phase, serverAddress);
        const int pauseMs = PresencePauseMs(link.errorLevel.load(std::memory_order_relaxed));
        PauseMs(pauseMs);
    }
}
