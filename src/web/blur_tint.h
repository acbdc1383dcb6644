#pragma once

#include <cstdint>
#include <span>

// The tinted blur under the speaker's phrase, on 32-bit pixels 0xAARRGGBB in rows of `width`: every pixel at
// least two pixels inside the edges becomes opaque, with the mean red and blue of the 5 x 5 square around it
// and a fixed green of 127. The two-pixel border is kept as it was. Fewer pixels than width x height: nothing
// changes.
void BlurTint(std::span<std::uint32_t> pixels, int width, int height);
