#include "peripherals/synth_key_listener.h"

#include "net/datagrams.h"
#include "net/sender_filter.h"
#include "platform/pause.h"
#include "peripherals/synth_link.h"
#include "platform/udp_socket.h"
#include "session/push_to_talk.h"

#include <chrono>

void ListenForSynthKeyOnce(SynthLink& link, PushToTalk& pushToTalk, int waitMs) {
    std::uint8_t buffer[kReceiveBufferBytes];
    // Only programs of this machine may press the talk key.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kListenerReceiveWaitMs);
    const int received = ReceiveFromAccepted(link.synthSocket, SenderFilter::Loopback(), buffer,
                                             sizeof buffer, deadline, link.droppedSynthDatagrams);
    if (received > 0) {
        switch (DecodeSynthKey(buffer, static_cast<std::size_t>(received))) {
        case SynthKey::Press:
            pushToTalk.SetKeyState(kPttTalk);
            break;
        case SynthKey::Release:
            pushToTalk.SetKeyState(kPttListen);
            break;
        case SynthKey::None:
            break;
        }
    }
    PauseMs(waitMs);
}

void RunSynthKeyListener(SynthLink& link, PushToTalk& pushToTalk, const std::atomic<bool>& running,
                         int waitMs) {
    while (running.load(std::memory_order_relaxed)) {
        ListenForSynthKeyOnce(link, pushToTalk, waitMs);
    }
}
