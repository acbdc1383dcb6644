#include "peripherals/synth_key_listener.h"

#include "session/session_state.h"
#include "net/datagrams.h"
#include "net/sender_filter.h"
#include "platform/pause.h"
#include "platform/udp_socket.h"

#include <chrono>

void ListenForSynthKeyOnce(SessionState& session, int waitMs) {
    std::uint8_t buffer[kReceiveBufferBytes];
    // Only programs of this machine may press the talk key.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kListenerReceiveWaitMs);
    const int received = ReceiveFromAccepted(session.synthSocket, SenderFilter::Loopback(), buffer,
                                             sizeof buffer, deadline, session.droppedSynthDatagrams);
    if (received > 0) {
        switch (DecodeSynthKey(buffer, static_cast<std::size_t>(received))) {
        case SynthKey::Press:
            session.pushToTalk.SetKeyState(kPttTalk);
            break;
        case SynthKey::Release:
            session.pushToTalk.SetKeyState(kPttListen);
            break;
        case SynthKey::None:
            break;
        }
    }
    PauseMs(waitMs);
}

void RunSynthKeyListener(SessionState& session, const std::atomic<bool>& running, int waitMs) {
    while (running.load(std::memory_order_relaxed)) {
        ListenForSynthKeyOnce(session, waitMs);
    }
}
