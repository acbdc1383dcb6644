#include "net/supervisor.h"

#include "session/session_state.h"
#include "net/datagrams.h"
#include "net/sender_filter.h"
#include "platform/pause.h"
#include "platform/udp_socket.h"

#include <chrono>

namespace {

int SupervisorPortOf(int channelPort) {
    return channelPort + kSupervisorPortOffset;
}

void SendStatusRequest(SessionState& session, const char* serverAddress) {
    std::uint8_t datagram[kStatusRequestBytes];
    const std::size_t length =
        EncodeStatusRequest(datagram, session.relayByte.load(std::memory_order_relaxed));
    SendDatagram(session.supervisorSocket, serverAddress, SupervisorPortOf(session.channelPort), datagram,
                 length);
}

void SendPhaseRequest(SessionState& session, const char* serverAddress, SupervisorCycleState& state) {
    if (state.phase == 'L') {
        SendListRequest(session, serverAddress, session.channelPort);
        SendListRequest(session, serverAddress, kFirstChannelPort + state.listPollIndex);
        state.listPollIndex = (state.listPollIndex + 1) % kChannelCount;
        state.phase = 'A';
    } else {
        SendStatusRequest(session, serverAddress);
        state.phase = 'L';
    }
}

void StoreMemberList(SessionState& session, const ListReply& reply) {
    session.channelMemberCounts[reply.channel] = reply.count;
    if (reply.channel == ChannelOfPort(session.channelPort)) {
        session.channelMemberCounts[kCurrentChannelCountIndex] = reply.count;
    }
    for (int i = 0; i < reply.count; ++i) {
        session.channelMembers[reply.channel][i] = reply.members[i];
    }
}

void ActOnStatus(std::uint8_t code, const SupervisorNoticeHandler& onNotice) {
    if (code == kNoticeUpdateRequired) {
        onNotice(SupervisorNotice::UpdateRequired);
    } else if (code == kNoticeClosing) {
        onNotice(SupervisorNotice::Closing);
    }
}

// Acts on one datagram of the supervisor; true when it was a status reply.
bool HandleReply(SessionState& session, const std::uint8_t* buffer, std::size_t length,
                 const SupervisorNoticeHandler& onNotice) {
    if (const auto notice = DecodeStatusReply(buffer, length)) {
        ActOnStatus(*notice, onNotice);
        session.svcLed = kLedYellow;
        return true;
    }
    if (const auto list = DecodeListReply(buffer, length)) {
        StoreMemberList(session, *list);
    }
    return false;
}

// A list phase asks twice, so replies outnumber cycles: take those already waiting as well, or they pile
// up and the lists and notices fall ever further behind. Bounded, so a flood cannot hold the cycle.
constexpr int kMostRepliesPerCycle = 8;

} // namespace

bool SendListRequest(SessionState& session, const char* serverAddress, int channelPort) {
    std::uint8_t datagram[kListRequestBytes];
    const std::size_t length = EncodeListRequest(datagram);
    if (SendDatagram(session.supervisorSocket, serverAddress, SupervisorPortOf(channelPort), datagram,
                     length) < 0) {
        session.svcLed = kLedRed;
        return false;
    }
    return true;
}

void RunSupervisorCycle(SessionState& session, const char* serverAddress, SupervisorCycleState& state,
                        const SupervisorTiming& timing, const SupervisorNoticeHandler& onNotice) {
    SendPhaseRequest(session, serverAddress, state);
    session.svcLed = kLedBlue;
    PauseMs(timing.afterSendMs);

    // Only the voice server speaks for the supervisor: anybody else's notice or list is dropped unread.
    const SenderFilter voiceServer = SenderFilter::OnlyFrom(serverAddress);
    const SocketHandle socket = session.supervisorSocket.load(std::memory_order_relaxed);
    std::uint8_t buffer[kReceiveBufferBytes];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timing.pollTimeoutMs);
    // The reply has mostly come during the pause: the poll, which costs far more, is then skipped.
    const int received =
        DatagramWaiting(socket) || PollReadable(socket, timing.pollTimeoutMs) == PollResult::Readable
            ? ReceiveFromAccepted(socket, voiceServer, buffer, sizeof buffer, deadline,
                                  session.droppedSupervisorDatagrams)
            : -1;
    if (received <= 0) {
        session.svcLed = kLedRed;
        PauseMs(timing.afterCycleMs);
        return;
    }
    session.svcLed = kLedGreen;
    bool statusReplied = HandleReply(session, buffer, static_cast<std::size_t>(received), onNotice);
    for (int more = 1; more < kMostRepliesPerCycle && DatagramWaiting(socket); ++more) {
        const int length =
            ReceiveFromAccepted(socket, voiceServer, buffer, sizeof buffer, std::chrono::steady_clock::now(),
                                session.droppedSupervisorDatagrams);
        if (length == kNothingReceived) {
            continue; // a stranger's, or one too long
        }
        if (length <= 0) {
            break;
        }
        statusReplied =
            HandleReply(session, buffer, static_cast<std::size_t>(length), onNotice) || statusReplied;
    }
    if (statusReplied) {
        PauseMs(timing.afterStatusReplyMs);
    }
    PauseMs(timing.afterCycleMs);
}

void RunSupervisorLoop(SessionState& session, const char* serverAddress,
                       const SupervisorNoticeHandler& onNotice, const std::atomic<bool>& running,
                       const SupervisorTiming& timing) {
    SupervisorCycleState state;
    while (running.load(std::memory_order_relaxed)) {
        RunSupervisorCycle(session, serverAddress, state, timing, onNotice);
    }
}
