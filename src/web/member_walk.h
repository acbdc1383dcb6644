#pragma once

#include <functional>

struct SessionState;

// A member count from the network drawn as at most a full row, and as none when negative.
int DrawableMemberCount(int count);

// Draws the picture of `account` into place `place` (0 for the first) and says whether it took the place.
using MemberPlacer = std::function<bool(int account, int place)>;

// Walks the members of `channel`, reading its count again before each member since the supervisor's thread
// rewrites the lists meanwhile. Returns the number of places used; 0 for a channel outside 0..10.
int WalkChannelMembers(const SessionState& session, int channel, const MemberPlacer& placer);
