#pragma once

#include "session/channel_members.h"

#include <functional>

// A member count from the network drawn as at most a full row, and as none when negative.
int DrawableMemberCount(int count);

// Draws the picture of `account` into place `place` (0 for the first) and says whether it took the place.
using MemberPlacer = std::function<bool(int account, int place)>;

// Walks the members of a list. Returns the number of places used.
int WalkChannelMembers(const MemberList& list, const MemberPlacer& placer);
