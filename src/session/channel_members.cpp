#include "session/channel_members.h"

void ChannelMembers::Replace(int channel, const MemberList& list, bool isCurrentChannel) {
    if (channel < 0 || channel >= kChannelCount) {
        return;
    }
    const std::lock_guard<std::mutex> hold(lock_);
    lists_[static_cast<std::size_t>(channel)] = list;
    if (isCurrentChannel) {
        currentChannelCount_ = list.count;
    }
}

MemberList ChannelMembers::Snapshot(int channel) const {
    if (channel < 0 || channel >= kChannelCount) {
        return {};
    }
    const std::lock_guard<std::mutex> hold(lock_);
    return lists_[static_cast<std::size_t>(channel)];
}

int ChannelMembers::CurrentChannelCount() const {
    const std::lock_guard<std::mutex> hold(lock_);
    return currentChannelCount_;
}

void ChannelMembers::ForgetCurrentChannelCount() {
    const std::lock_guard<std::mutex> hold(lock_);
    currentChannelCount_ = -1;
}
