#pragma once

#include "platform/geometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A frame's pixels in memory, row after row, `stride` pixels apart (a frame cut out of a wider strip).
struct PixelFrame {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
};

// The smallest rectangle holding every pixel where two frames of one size differ, in the frames' own
// coordinates; empty when they are equal.
Rect ChangedArea(const PixelFrame& before, const PixelFrame& after);

// Which part of an animation's next frame a tick copies to the window: only what differs from the frame on
// screen, as long as the window holds the frame before it; the whole frame otherwise (the first tick, after
// an exposure wiped the window, after a copy that failed).
class FrameCopies {
  public:
    // changesFromPrevious[i]: where frame i differs from the frame before it (the last, for frame 0).
    FrameCopies(std::vector<Rect> changesFromPrevious, Rect wholeFrame);

    // The area of `frame` to copy now, `exposures` being the window's count of them; the copy is then
    // taken as done.
    Rect AreaToCopy(int frame, unsigned exposures);

    // The copy could not be made: the next tick copies a whole frame.
    void Forget() { copied_ = false; }

  private:
    std::vector<Rect> changes_;
    Rect whole_;
    bool copied_ = false;
    int lastFrame_ = 0;
    unsigned exposures_ = 0;
};
