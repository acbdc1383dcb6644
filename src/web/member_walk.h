#pragma once

#include <functional>

struct SessionState;

// What a picture request of one member came to, from HttpsGet's result.
enum class PictureFetch {
    NoPicture, // the service has none (a status other than 200 or an empty body): the member takes no place
    Failed,    // no session, no connection or no reply: the member's place stays as it was
    Body,      // a body arrived; it may still fail to decode, and takes a place either way
};

PictureFetch ClassifyPictureFetch(int httpsGetResult);

// A member count from the network drawn as at most a full row, and as none when negative.
int DrawableMemberCount(int count);

// Draws the picture of `account` into place `place` (0 for the first) and says whether it took the place.
using MemberPlacer = std::function<bool(int account, int place)>;

// Walks the members of `channel`, reading its count again before each member since the supervisor's thread
// rewrites the lists meanwhile. Returns the number of places used; 0 for a channel outside 0..10.
int WalkChannelMembers(const SessionState& session, int channel, const MemberPlacer& placer);
