#include "web/member_walk.h"

#include <algorithm>

int DrawableMemberCount(int count) {
    return std::clamp(count, 0, kMaxChannelMembers);
}

int WalkChannelMembers(const MemberList& list, const MemberPlacer& placer) {
    int places = 0;
    for (int m = 0; m < DrawableMemberCount(list.count); ++m) {
        if (placer(list.accounts[static_cast<std::size_t>(m)], places)) {
            ++places;
        }
    }
    return places;
}
