#include "web/opening_frames.h"

#include <algorithm>

namespace {

constexpr int kRiseLastStep = 200;
constexpr int kRiseStep = 20;
constexpr int kGrowStep = 10;

int Capped(int value, int cap) {
    return cap > 0 ? std::min(value, cap) : value;
}

} // namespace

std::vector<WindowFrame> RiseFrames(Point start) {
    std::vector<WindowFrame> frames;
    for (int d = 0; d <= kRiseLastStep; d += kRiseStep) {
        frames.push_back(WindowFrame{start.x + d / 4, start.y - d, d, d});
    }
    return frames;
}

std::vector<WindowFrame> GrowFrames(const Rect& risen, const Growth& growth) {
    const int width = risen.right - risen.left;
    const int height = risen.bottom - risen.top;
    std::vector<WindowFrame> frames;
    for (int d = 0; d <= growth.lastStep; d += kGrowStep) {
        frames.push_back(WindowFrame{risen.left, risen.top,
                                     Capped(width + d, growth.widthCap) + growth.widthMargin,
                                     Capped(height + d, growth.heightCap)});
    }
    return frames;
}
