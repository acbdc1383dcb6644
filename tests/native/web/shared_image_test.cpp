#include "web/canvas_fit.h"
#include "web/shared_image_upload.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

TEST(CanvasFit, ScalesTheImageToFitTheAreaAndCentresIt) {
    const auto placed = [](int width, int height) {
        const ImagePlacement p = FitAndCentre(584, 542, width, height);
        return std::tuple(p.x, p.y, p.width, p.height);
    };
    EXPECT_EQ(placed(1200, 600), std::tuple(0, 125, 584, 292)); // reduced
    EXPECT_EQ(placed(100, 50), std::tuple(0, 125, 584, 292));   // enlarged
    EXPECT_EQ(placed(542, 1084), std::tuple(156, 0, 271, 542)); // fits the height, centred across
    EXPECT_EQ(placed(0, 50), std::tuple(0, 0, 0, 0));
}

// A file of `size` bytes (none when it cannot be opened) whose first bytes are `content`.
class FakeFile : public ChosenFile {
  public:
    explicit FakeFile(std::optional<std::uint64_t> size, std::string content = {})
        : size_(size), content_(std::move(content)) {}
    std::optional<std::uint64_t> OpenAndMeasure() override { return size_; }
    std::size_t Read(std::span<std::uint8_t> into) override {
        std::memcpy(into.data(), content_.data(), std::min(into.size(), content_.size()));
        return std::min<std::size_t>(into.size(), *size_);
    }

  private:
    std::optional<std::uint64_t> size_;
    std::string content_;
};

TEST(SharedImageUpload, RecordHoldsTheFileItsNameLengthsAndChannelAndNothingOfAnEarlierFile) {
    const auto record = std::make_unique<UploadRecord>();
    FakeFile earlier(7, "GIF89a!");
    ASSERT_EQ(FillUploadRecord(*record, earlier, 30, "earlier_picture.gif", 9), UploadCheck::Ready);
    FakeFile png(3, "\x89PN");
    ASSERT_EQ(FillUploadRecord(*record, png, 20, "a.png", 4), UploadCheck::Ready);

    std::vector<std::uint8_t> expected(10'000'268, 0);
    std::memcpy(expected.data(), "\x89PN", 3);
    std::memcpy(expected.data() + 10'000'000, "a.png", 5);
    expected[10'000'256] = 3; // file length
    expected[10'000'260] = 5; // name length
    expected[10'000'264] = 4; // channel
    const std::span<const std::uint8_t> sent = record->Bytes();
    ASSERT_EQ(sent.size(), expected.size());
    const auto differs = std::mismatch(sent.begin(), sent.end(), expected.begin()).first;
    EXPECT_EQ(differs, sent.end()) << "first difference at offset " << (differs - sent.begin());
}

TEST(SharedImageUpload, RefusesWhatCannotBeSentWhole) {
    const std::string longestName(255, 'n');
    const struct {
        std::optional<std::uint64_t> size;
        std::size_t pathBytes;
        std::string name;
        UploadCheck expected;
    } cases[] = {
        {9'999'999, 40, "big.png", UploadCheck::Ready},
        {10'000'000, 40, "big.png", UploadCheck::TooLarge},
        {0, 40, "empty.png", UploadCheck::Empty},
        {std::nullopt, 40, "locked.png", UploadCheck::CannotOpen},
        {10, 200, longestName, UploadCheck::Ready},
        {10, 201, "a.png", UploadCheck::PathTooLong},
        {10, 200, longestName + "n", UploadCheck::NameTooLong},
    };
    const auto record = std::make_unique<UploadRecord>();
    for (const auto& c : cases) {
        FakeFile file(c.size);
        EXPECT_EQ(FillUploadRecord(*record, file, c.pathBytes, c.name, 1), c.expected)
            << c.name << c.pathBytes;
        if (c.expected == UploadCheck::Ready) {
            EXPECT_EQ(record->Bytes()[10'000'255], 0) << "the name field ends with a terminator";
        }
    }
}

} // namespace
