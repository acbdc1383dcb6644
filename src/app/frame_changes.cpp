#include "app/frame_changes.h"

#include <algorithm>
#include <utility>

Rect ChangedArea(const PixelFrame& before, const PixelFrame& after) {
    Rect area{after.width, after.height, 0, 0};
    for (int y = 0; y < after.height; ++y) {
        const std::uint32_t* oldRow = before.pixels + y * before.stride;
        const std::uint32_t* newRow = after.pixels + y * after.stride;
        for (int x = 0; x < after.width; ++x) {
            if (oldRow[x] != newRow[x]) {
                area = Rect{std::min(area.left, x), std::min(area.top, y), std::max(area.right, x + 1),
                            std::max(area.bottom, y + 1)};
            }
        }
    }
    return area.IsEmpty() ? Rect{} : area;
}

FrameCopies::FrameCopies(std::vector<Rect> changesFromPrevious, Rect wholeFrame)
    : changes_(std::move(changesFromPrevious)), whole_(wholeFrame) {}

Rect FrameCopies::AreaToCopy(int frame, unsigned exposures) {
    const int count = static_cast<int>(changes_.size());
    const bool follows = copied_ && exposures == exposures_ && count > 0 && frame == (lastFrame_ + 1) % count;
    copied_ = true;
    lastFrame_ = frame;
    exposures_ = exposures;
    return follows ? changes_[static_cast<std::size_t>(frame)] : whole_;
}
