#pragma once

#include "session/channels.h"

#include <array>
#include <mutex>

inline constexpr int kMaxChannelMembers = 16;

// One channel's members as the supervisor last listed them.
struct MemberList {
    int count = 0; // 0..kMaxChannelMembers
    std::array<int, kMaxChannelMembers> accounts{};
};

// Every channel's member list: the supervisor thread replaces a list whole and the painters copy one, both
// under the one lock, so a count never comes with another list's members.
class ChannelMembers {
  public:
    // Replaces the list of `channel` (0..10); the current channel's list also gives the current count.
    void Replace(int channel, const MemberList& list, bool isCurrentChannel);
    // A copy of the list of `channel`; an empty list outside 0..10.
    MemberList Snapshot(int channel) const;
    // The count of the current channel's last list; -1 from a change of channel until its list comes.
    int CurrentChannelCount() const;
    void ForgetCurrentChannelCount();

  private:
    mutable std::mutex lock_;
    std::array<MemberList, kChannelCount> lists_{};
    int currentChannelCount_ = 0;
};
