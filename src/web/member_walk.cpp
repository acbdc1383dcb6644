#include "web/member_walk.h"

#include "session/session_state.h"

#include <algorithm>

int DrawableMemberCount(int count) {
    return std::clamp(count, 0, kMaxChannelMembers);
}

int WalkChannelMembers(const SessionState& session, int channel, const MemberPlacer& placer) {
    if (channel < 0 || channel >= kChannelCount) {
        return 0;
    }
    const auto& count = session.channelMemberCounts[channel];
    const auto& members = session.channelMembers[channel];
    int places = 0;
    for (int m = 0; m < DrawableMemberCount(count.load(std::memory_order_relaxed)); ++m) {
        if (placer(members[m].load(std::memory_order_relaxed), places)) {
            ++places;
        }
    }
    return places;
}
