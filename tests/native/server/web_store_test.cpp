// The web service's store on a real database file.

#include "core/account_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace zelvora::web;

namespace {

TEST(WebStoreTest, TheJournalIsCheckpointedWhileRegistrationsKeepComing) {
    const std::string database = testing::TempDir() + "web-store-" + std::to_string(getpid()) + ".sqlite";
    const std::string journal = database + "-wal";
    std::uintmax_t largestJournal = 0;
    {
        AccountStore store(database);
        for (int i = 0; i < 3000; ++i) {
            ASSERT_TRUE(store.Identify(std::to_string(1000000000000000 + i)));
            largestJournal = std::max(largestJournal, std::filesystem::file_size(journal));
        }
    }
    // SQLite checkpoints every 1000 pages of 4 KiB; without checkpoints 3000 registrations write 25 MiB.
    EXPECT_LT(largestJournal, 5u << 20);
    for (const std::string& file : {database, journal, database + "-shm"}) {
        std::filesystem::remove(file);
    }
}

} // namespace
