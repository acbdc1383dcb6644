#include "counters.h"

#include <utility>

namespace zelvora::network {

std::string FormatCounters(const Counters& c) {
    const std::pair<const char*, std::uint64_t> rows[] = {
        {"greetings", c.greetings},
        {"presence", c.presence},
        {"audio", c.audio},
        {"list-requests", c.listRequests},
        {"status-requests", c.statusRequests},
        {"dropped-wrong-size", c.wrongSize},
        {"dropped-unknown-kind", c.unknownKind},
        {"dropped-bad-field", c.badField},
        {"dropped-bad-channel", c.badChannel},
        {"dropped-not-member", c.notMember},
        {"dropped-audio-wrong-channel", c.audioWrongChannel},
        {"dropped-duplicate-audio", c.duplicateAudio},
        {"dropped-floor-busy", c.floorBusy},
        {"dropped-members-full", c.membersFull},
        {"dropped-echo-overflow", c.echoOverflow},
        {"withheld-no-presence", c.withheldNoPresence},
        {"relayed", c.relayed},
        {"relayed-speech", c.relayedSpeech},
        {"list-replies", c.listReplies},
        {"status-replies", c.statusReplies},
        {"notices-delivered", c.noticesDelivered},
        {"send-failures", c.sendFailures},
        {"late-ticks", c.lateTicks},
        {"ticks", c.ticks},
        {"tick-time-average-us", c.ticks == 0 ? 0 : c.tickMicrosTotal / c.ticks},
        {"tick-time-max-us", c.tickMicrosMax},
    };
    std::string text;
    for (const auto& [name, value] : rows) {
        text += name;
        text += ' ';
        text += std::to_string(value);
        text += '\n';
    }
    return text;
}

} // namespace zelvora::network
