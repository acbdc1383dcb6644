#include "settings/opening_animation.h"

namespace {

constexpr int kStep = 10;
constexpr int kSide = 200; // the square's last side and the open window's width
constexpr int kCreatedSide = 10;

} // namespace

WindowFrame CreationFrame(int left, int top) {
    return WindowFrame{left - kSide, top + kSide, kCreatedSide, kCreatedSide};
}

std::array<WindowFrame, kOpeningFrameCount> OpeningFrames(int left, int top) {
    std::array<WindowFrame, kOpeningFrameCount> frames{};
    for (int i = 0; i < kSquareSteps; ++i) {
        const int side = kStep * i;
        frames[static_cast<std::size_t>(i)] = WindowFrame{left - side, top + kSide - side, side, side};
    }
    for (int i = 0; i < kStretchSteps; ++i) {
        frames[static_cast<std::size_t>(kSquareSteps + i)] =
            WindowFrame{left - kSide, top, kSide, kSide + kStep * i};
    }
    return frames;
}
