#include "session/channel_members.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// A list whose every entry tells which count it was written with.
MemberList ListOf(int count) {
    MemberList list;
    list.count = count;
    for (int m = 0; m < count; ++m) {
        list.accounts[static_cast<std::size_t>(m)] = 100 * count + m;
    }
    return list;
}

bool Consistent(const MemberList& list) {
    for (int m = 0; m < kMaxChannelMembers; ++m) {
        const int expected = m < list.count ? 100 * list.count + m : 0;
        if (list.accounts[static_cast<std::size_t>(m)] != expected) {
            return false;
        }
    }
    return true;
}

TEST(ChannelMembers, EverySnapshotTakenDuringRewritesIsOneWholeList) {
    ChannelMembers members;
    std::atomic<bool> writing{true};
    std::atomic<int> inconsistent{0};
    std::atomic<int> snapshots{0};
    std::vector<std::thread> painters;
    for (int p = 0; p < 2; ++p) {
        painters.emplace_back([&] {
            // At least a few snapshots each, however the threads are scheduled.
            while (writing.load() || snapshots.load() < 100) {
                const MemberList list = members.Snapshot(3);
                if (!Consistent(list) || members.CurrentChannelCount() > kMaxChannelMembers) {
                    inconsistent.fetch_add(1);
                }
                snapshots.fetch_add(1);
            }
        });
    }
    for (int round = 0; round < 20000; ++round) {
        members.Replace(3, ListOf(round % (kMaxChannelMembers + 1)), round % 2 == 0);
    }
    writing.store(false);
    for (std::thread& painter : painters) {
        painter.join();
    }
    EXPECT_EQ(inconsistent.load(), 0);
}

TEST(ChannelMembers, ChannelsOutsideTheElevenAreNeitherStoredNorListed) {
    ChannelMembers members;
    members.Replace(kChannelCount, ListOf(4), true);
    members.Replace(-1, ListOf(4), true);
    EXPECT_EQ(members.CurrentChannelCount(), 0);
    members.Replace(0, ListOf(4), false);
    EXPECT_EQ(members.Snapshot(kChannelCount).count, 0);
    EXPECT_EQ(members.Snapshot(-1).count, 0);
    EXPECT_EQ(members.Snapshot(0).count, 4);
}

} // namespace
