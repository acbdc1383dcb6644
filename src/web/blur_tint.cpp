#include "web/blur_tint.h"

#include <vector>

namespace {
constexpr int kRadius = 2;
constexpr int kSquare = (2 * kRadius + 1) * (2 * kRadius + 1);
constexpr std::uint32_t kTintGreen = 0x7F;
} // namespace

void BlurTint(std::span<std::uint32_t> pixels, int width, int height) {
    if (width <= 2 * kRadius || height <= 2 * kRadius ||
        pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return;
    }
    const std::vector<std::uint32_t> source(pixels.begin(), pixels.begin() + width * height);
    for (int y = kRadius; y < height - kRadius; ++y) {
        for (int x = kRadius; x < width - kRadius; ++x) {
            std::uint32_t red = 0;
            std::uint32_t blue = 0;
            for (int dy = -kRadius; dy <= kRadius; ++dy) {
                for (int dx = -kRadius; dx <= kRadius; ++dx) {
                    const std::uint32_t pixel = source[static_cast<std::size_t>((y + dy) * width + x + dx)];
                    red += (pixel >> 16) & 0xFF;
                    blue += pixel & 0xFF;
                }
            }
            pixels[static_cast<std::size_t>(y * width + x)] =
                0xFF000000u | (red / kSquare) << 16 | kTintGreen << 8 | (blue / kSquare);
        }
    }
}
