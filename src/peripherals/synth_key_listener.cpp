#include "peripherals/synth_key_listener.h"

#include "session/session_state.h"
#include "net/datagrams.h"
#include "platform/udp_socket.h"

#include <chrono>
#include <thread>

namespace {

void SetTalkKey(SessionState& session, int state) {
    std::lock_guard<std::mutex> hold(session.pttLock);
    session.pttKeyState = state;
}

} // namespace

void ListenForSynthKeyOnce(SessionState& session, int waitMs) {
    const SocketHandle socket = session.synthSocket.load(std::memory_order_relaxed);
    std::uint8_t buffer[kReceiveBufferBytes];
    const int received = PollReadable(socket, waitMs) == PollResult::Readable
                             ? ReceiveDatagram(socket, buffer, sizeof buffer)
                             : -1;
    if (received > 0) {
        switch (DecodeSynthKey(buffer, static_cast<std::size_t>(received))) {
        case SynthKey::Press:
            SetTalkKey(session, kPttTalk);
            break;
        case SynthKey::Release:
            SetTalkKey(session, kPttListen);
            break;
        case SynthKey::None:
            break;
        }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
}

void RunSynthKeyListener(SessionState& session, const std::atomic<bool>& running, int waitMs) {
    while (running.load(std::memory_order_relaxed)) {
        ListenForSynthKeyOnce(session, waitMs);
    }
}
