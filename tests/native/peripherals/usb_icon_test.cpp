#include "peripherals/usb_icon.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// Serves every state with the same scripted result and records what the icon did with it.
class FakePicture : public UsbIconPicture {
  public:
    FetchResult Fetch(ResponseBuffer::Lease&, int state) override {
        fetched.push_back(state);
        fetchedAfterOtherLeaseEnded.push_back(otherLeaseEnded.load());
        return result;
    }
    void ShowBody(const ResponseBuffer::Lease&, int size) override { shown.push_back(size); }
    void Remove() override { ++removed; }

    FetchResult result;
    // Set by a test just before it gives the buffer up.
    std::atomic<bool> otherLeaseEnded{false};
    std::vector<int> fetched;
    std::vector<bool> fetchedAfterOtherLeaseEnded;
    std::vector<int> shown;
    int removed = 0;
};

class UsbIconTest : public ::testing::Test {
  protected:
    std::unique_ptr<ResponseBuffer> buffer_ = std::make_unique<ResponseBuffer>();
    FakePicture picture_;
    UsbIcon icon_{*buffer_, picture_};
};

TEST_F(UsbIconTest, OnlyAChangeOfStateFetches) {
    picture_.result = {FetchStatus::Body, 500};
    icon_.Set(kUsbIconBlack);
    icon_.Set(kUsbIconBlack);
    icon_.Set(kUsbIconGreen);
    icon_.Set(kUsbIconGreen);
    icon_.Set(kUsbIconRed);
    EXPECT_EQ(picture_.fetched, (std::vector<int>{kUsbIconBlack, kUsbIconGreen, kUsbIconRed}));
    EXPECT_EQ(picture_.shown, (std::vector<int>{500, 500, 500}));
    EXPECT_EQ(icon_.State(), kUsbIconRed);
}

TEST_F(UsbIconTest, NothingBackKeepsThePictureAndAFailureRemovesIt) {
    picture_.result = {FetchStatus::NoBody};
    icon_.Set(kUsbIconBlack);
    EXPECT_EQ(picture_.removed, 0);
    picture_.result = {FetchStatus::Failed};
    icon_.Set(kUsbIconGreen);
    EXPECT_EQ(picture_.removed, 1);
    EXPECT_TRUE(picture_.shown.empty());
    EXPECT_EQ(icon_.State(), kUsbIconGreen) << "a failed fetch still records the state";
}

TEST_F(UsbIconTest, FetchWaitsWhileAnotherThreadHoldsTheResponseBuffer) {
    picture_.result = {FetchStatus::Body, 500};
    // Without the lease's lock the accessory thread, already running, most often fetches before this thread
    // says that it gives the buffer up; a few rounds make a missed fault unlikely.
    constexpr int kRounds = 20;
    for (int round = 0; round < kRounds; ++round) {
        picture_.otherLeaseEnded = false;
        std::atomic<bool> accessoryStarted{false};
        std::thread accessory;
        {
            ResponseBuffer::Lease mainThreadRequest = buffer_->Acquire();
            accessory = std::thread([this, &accessoryStarted, round] {
                accessoryStarted = true;
                icon_.Set(round % 2 == 0 ? kUsbIconGreen : kUsbIconRed);
            });
            while (!accessoryStarted) {
                std::this_thread::yield();
            }
            picture_.otherLeaseEnded = true;
        }
        accessory.join();
    }
    EXPECT_EQ(picture_.fetched.size(), static_cast<std::size_t>(kRounds));
    EXPECT_EQ(picture_.fetchedAfterOtherLeaseEnded, std::vector<bool>(kRounds, true))
        << "the icon fetch ran while the buffer was leased";
}

} // namespace
