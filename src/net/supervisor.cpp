#include "net/supervisor.h"

#include "net/datagrams.h"
#include "net/sender_filter.h"
#include "net/voice_link.h"
#include "platform/stop_signal.h"
#include "platform/udp_socket.h"
#include "session/shared_state.h"

#include <algorithm>
#include <chrono>

namespace {

int SupervisorPortOf(int channelPort) {
    return channelPort + kSupervisorPortOffset;
}

void SendStatusRequest(const VoiceLink& link, const SharedState& shared, const char* serverAddress) {
    std::uint8_t datagram[kStatusRequestBytes];
    const std::size_t length = EncodeStatusRequest(datagram, link.relayByte.load(std::memory_order_relaxed));
    SendDatagram(link.supervisorSocket, serverAddress, SupervisorPortOf(shared.channelPort), datagram,
                 length);
}

void SendPhaseRequest(const VoiceLink& link, SharedState& shared, const char* serverAddress,
                      SupervisorCycleState& state) {
    if (state.phase == 'L') {
        SendListRequest(link, shared, serverAddress, shared.channelPort);
        SendListRequest(link, shared, serverAddress, kFirstChannelPort + state.listPollIndex);
        state.listPollIndex = (state.listPollIndex + 1) % kChannelCount;
        state.phase = 'A';
    } else {
        SendStatusRequest(link, shared, serverAddress);
        state.phase = 'L';
    }
}

void StoreMemberList(SharedState& shared, const ListReply& reply) {
    MemberList list;
    list.count = reply.count;
    std::copy_n(reply.members, reply.count, list.accounts.begin());
    shared.channelMembers.Replace(reply.channel, list, reply.channel == ChannelOfPort(shared.channelPort));
}

void ActOnStatus(std::uint8_t code, const SupervisorNoticeHandler& onNotice) {
    if (code == kNoticeUpdateRequired) {
        onNotice(SupervisorNotice::UpdateRequired);
    } else if (code == kNoticeClosing) {
        onNotice(SupervisorNotice::Closing);
    }
}

// Acts on one datagram of the supervisor; true when it was a status reply.
bool HandleReply(SharedState& shared, const std::uint8_t* buffer, std::size_t length,
                 const SupervisorNoticeHandler& onNotice) {
    if (const auto notice = DecodeStatusReply(buffer, length)) {
        ActOnStatus(*notice, onNotice);
        shared.lights.svc = kLedYellow;
        return true;
    }
    if (const auto list = DecodeListReply(buffer, length)) {
        StoreMemberList(shared, *list);
    }
    return false;
}

// A list phase asks twice, so replies outnumber cycles: take those already waiting as well, or they pile
// up and the lists and notices fall ever further behind. Bounded, so a flood cannot hold the cycle.
constexpr int kMostRepliesPerCycle = 8;

} // namespace

bool SendListRequest(const VoiceLink& link, SharedState& shared, const char* serverAddress, int channelPort) {
    std::uint8_t datagram[kListRequestBytes];
    const std::size_t length = EncodeListRequest(datagram);
    if (SendDatagram(link.supervisorSocket, serverAddress, SupervisorPortOf(channelPort), datagram, length) <
        0) {
        shared.lights.svc = kLedRed;
        return false;
    }
    return true;
}

void RunSupervisorCycle(VoiceLink& link, SharedState& shared, const char* serverAddress,
                        SupervisorCycleState& state, const SupervisorTiming& timing,
                        const SupervisorNoticeHandler& onNotice, StopSignal& stop) {
    SendPhaseRequest(link, shared, serverAddress, state);
    shared.lights.svc = kLedBlue;
    stop.PauseMs(timing.afterSendMs);

    // Only the voice server speaks for the supervisor: anybody else's notice or list is dropped unread.
    const SenderFilter voiceServer = SenderFilter::OnlyFrom(serverAddress);
    const SocketHandle socket = link.supervisorSocket.load(std::memory_order_relaxed);
    std::uint8_t buffer[kReceiveBufferBytes];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timing.pollTimeoutMs);
    // The reply has mostly come during the pause: the poll, which costs far more, is then skipped.
    const int received =
        DatagramWaiting(socket) || PollReadable(socket, timing.pollTimeoutMs) == PollResult::Readable
            ? ReceiveFromAccepted(socket, voiceServer, buffer, sizeof buffer, deadline,
                                  link.droppedSupervisorDatagrams)
            : -1;
    if (received <= 0) {
        shared.lights.svc = kLedRed;
        stop.PauseMs(timing.afterCycleMs);
        return;
    }
    shared.lights.svc = kLedGreen;
    bool statusReplied = HandleReply(shared, buffer, static_cast<std::size_t>(received), onNotice);
    for (int more = 1; more < kMostRepliesPerCycle && DatagramWaiting(socket); ++more) {
        const int length =
            ReceiveFromAccepted(socket, voiceServer, buffer, sizeof buffer, std::chrono::steady_clock::now(),
                                link.droppedSupervisorDatagrams);
        if (length == kNothingReceived) {
            continue; // a stranger's, or one too long
        }
        if (length <= 0) {
            break;
        }
        statusReplied =
            HandleReply(shared, buffer, static_cast<std::size_t>(length), onNotice) || statusReplied;
    }
    if (statusReplied) {
        stop.PauseMs(timing.afterStatusReplyMs);
    }
    stop.PauseMs(timing.afterCycleMs);
}

void RunSupervisorLoop(VoiceLink& link, SharedState& shared, const char* serverAddress,
                       const SupervisorNoticeHandler& onNotice, StopSignal& stop,
                       const SupervisorTiming& timing) {
    SupervisorCycleState state;
    while (stop.Running().load(std::memory_order_relaxed)) {
        RunSupervisorCycle(link, shared, serverAddress, state, timing, onNotice, stop);
    }
}
