#pragma once

#include "platform/socket_handle.h"

#include <atomic>
#include <cstdint>

inline constexpr int kErrorLevelNothingReceived = 99;

// The voice link's sockets and what its threads learn from the voice server; start-up opens the sockets
// before the threads start.
struct VoiceLink {
    std::atomic<SocketHandle> voiceSocket{kInvalidSocket};
    std::atomic<SocketHandle> supervisorSocket{kInvalidSocket};
    // Written by the receive thread: the presence pace and the error lights follow the level, the web
    // fetches the speaker's picture, the supervisor's status requests carry the relay byte.
    std::atomic<int> errorLevel{kErrorLevelNothingReceived};
    std::atomic<int> speakerAccount{0};
    std::atomic<int> relayByte{0};
    // Datagrams from anybody but the voice server, dropped unread by the loop that receives on the socket
    std::atomic<std::uint32_t> droppedVoiceDatagrams{0};
    std::atomic<std::uint32_t> droppedSupervisorDatagrams{0};
};
