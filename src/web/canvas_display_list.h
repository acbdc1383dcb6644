#pragma once

#include <array>
#include <cstdint>

// What the canvas paints, in order; kEnd closes the list.
enum class CanvasItem : std::uint8_t { kEnd = 0, kSharedImage = 4 };

class CanvasDisplayList {
  public:
    static constexpr int kCapacity = 100;

    // The list every opening starts with: the channel's shared image alone.
    void ShowSharedImage() { items_ = {CanvasItem::kSharedImage, CanvasItem::kEnd}; }

    // Calls `draw` with each item before the end of the list.
    template <typename Draw> void ForEach(Draw&& draw) const {
        for (const CanvasItem item : items_) {
            if (item == CanvasItem::kEnd) {
                return;
            }
            draw(item);
        }
    }

  private:
    std::array<CanvasItem, kCapacity> items_{};
};
