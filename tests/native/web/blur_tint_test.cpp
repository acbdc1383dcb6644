#include "web/blur_tint.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(BlurTint, AveragesRedAndBlueAndFixesGreenInsideTheBorder) {
    constexpr int kWidth = 7;
    constexpr int kHeight = 5;
    std::vector<std::uint32_t> pixels(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            // Red columns on the left, blue on the right, green everywhere.
            pixels[y * kWidth + x] = x < 3 ? 0x00FF3300u : 0x000033FFu;
        }
    }
    const std::vector<std::uint32_t> before = pixels;
    BlurTint(pixels, kWidth, kHeight);
    // x = 2 sees columns 0..4: three red, two blue; x = 4 sees one red (column 2), four blue.
    EXPECT_EQ(pixels[2 * kWidth + 2], 0xFF997F66u);
    EXPECT_EQ(pixels[2 * kWidth + 3], 0xFF667F99u);
    EXPECT_EQ(pixels[2 * kWidth + 4], 0xFF337FCCu);
    for (int x = 0; x < kWidth; ++x) {
        EXPECT_EQ(pixels[x], before[x]); // the border row
    }
    EXPECT_EQ(pixels[2 * kWidth + 1], before[2 * kWidth + 1]);
}

} // namespace
