#pragma once

#include <functional>

class StopSignal;
struct SharedState;
struct VoiceLink;

// Pauses of one supervisor cycle; the defaults are the network's, tests shorten them.
struct SupervisorTiming {
    int afterSendMs = 200;
    int pollTimeoutMs = 500;
    int afterCycleMs = 500;
    int afterStatusReplyMs = 200;
};

enum class SupervisorNotice { UpdateRequired, Closing };

// Acts on a notice of the supervisor; it may block the supervisor cycle for as long as it needs.
using SupervisorNoticeHandler = std::function<void(SupervisorNotice)>;

// What the supervisor thread alone keeps between cycles.
struct SupervisorCycleState {
    char phase = 'L';
    int listPollIndex = 0;
};

// Asks for the member list of the channel of `channelPort` at its supervisor port; a failed send turns
// the svc light red. True when the datagram went out.
bool SendListRequest(const VoiceLink& link, SharedState& shared, const char* serverAddress, int channelPort);

// One request and its reply on supervisorSocket, with the pauses that follow. Only datagrams from
// `serverAddress` are taken; anybody else's are dropped and counted.
// The pauses end early once `stop` is asked.
void RunSupervisorCycle(VoiceLink& link, SharedState& shared, const char* serverAddress,
                        SupervisorCycleState& state, const SupervisorTiming& timing,
                        const SupervisorNoticeHandler& onNotice, StopSignal& stop);

// The supervisor thread's body: cycles until `stop` is asked.
void RunSupervisorLoop(VoiceLink& link, SharedState& shared, const char* serverAddress,
                       const SupervisorNoticeHandler& onNotice, StopSignal& stop,
                       const SupervisorTiming& timing = {});
