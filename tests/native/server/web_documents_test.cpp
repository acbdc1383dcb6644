// The texts the web service keeps and sends, and the seed folder it loads.

#include "core/account_documents.h"
#include "core/seed_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace zelvora::web;

namespace {

TEST(MemberText, FitsTheClientsFieldOnlyWhenItsEncodedFormIsShorterThanTheCapacity) {
    EXPECT_TRUE(IsValidMemberText(std::string(63, 'a'), 64));
    EXPECT_FALSE(IsValidMemberText(std::string(64, 'a'), 64));
    // "é" travels as the six-byte entity.
    EXPECT_TRUE(IsValidMemberText(std::string(57, 'a') + "é", 64));
    EXPECT_FALSE(IsValidMemberText(std::string(58, 'a') + "é", 64));
}

TEST(MemberText, RefusesMarkupControlCharactersAndBrokenUtf8) {
    for (const char* text :
         {"a<b", "a>b", "a&b", "a\tb", "a\x7F", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xFF"}) {
        EXPECT_FALSE(IsValidMemberText(text, 64)) << text;
    }
    EXPECT_TRUE(IsValidMemberText("Châlons, 3 €", 64));
}

class SeedFolderTest : public testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("zelvora-seed-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder / "pictures");
        for (const char* name : {"usb_black.png", "usb_green.png", "usb_red.png", "pictures/101.png"}) {
            Write(name, png);
        }
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }

    std::filesystem::path folder;
    std::string png =
        std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x10\0\0\0\x10\x08\x06\0\0\0", 29) + "....";
    AccountStore store{":memory:"};
};

TEST_F(SeedFolderTest, LoadsMembersPicturesAndIcons) {
    Write("members.tsv", "# account\tprenom...\n101\tAmélie\tBesançon\tBonjour\tlundi\t\tamelie\tFF8000\n");
    ASSERT_EQ(LoadSeed(store, folder), "");
    const auto account = store.FindAccount(101);
    ASSERT_TRUE(account);
    EXPECT_EQ(account->details.texts[0], "Amélie");
    EXPECT_EQ(account->background, 0xFF8000u);
    EXPECT_EQ(store.Picture(101), png);
    EXPECT_EQ(store.AccessoryIcon("green"), png);
}

TEST_F(SeedFolderTest, AnyBadLineStoresNothing) {
    const char* tables[] = {
        "101\tAmélie\tBesançon\tBonjour\tlundi\t\tamelie\tFF8000\n102\tA<b\t\t\t\t\t\t-\n",
        "101\tAmélie\tBesançon\tBonjour\tlundi\t\tamelie\tFF80\n",
        "1000\tAmélie\tBesançon\tBonjour\tlundi\t\tamelie\t-\n",
        "101\tAmélie\tBesançon\n",
        "101\tAmélie\tBesançon\tBonjour\tlundi\t\tamelie\t-\n102\tJérôme\t\t\t\t\t\t-\n", // no picture 102
    };
    for (const char* table : tables) {
        Write("members.tsv", table);
        EXPECT_NE(LoadSeed(store, folder), "") << table;
        EXPECT_FALSE(store.FindAccount(101)) << table;
    }
}

} // namespace

namespace {

TEST(SeedFolder, TheGeneratedSeedPassesTheLoadersChecksAndKeepsAnUploadedImage) {
    AccountStore store(":memory:");
    ASSERT_EQ(LoadSeed(store, ZELVORA_WEB_SEED_DIR), "");
    store.SetSharedImage(1, "uploaded", "a.png");
    ASSERT_EQ(LoadSeed(store, ZELVORA_WEB_SEED_DIR), "");
    EXPECT_EQ(store.SharedImage(1), "uploaded");
    EXPECT_TRUE(store.FindAccount(101));
    EXPECT_TRUE(store.Picture(101));
    EXPECT_TRUE(store.AccessoryIcon("black"));
}

} // namespace
