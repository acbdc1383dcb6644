#include "web/member_grids.h"

#include "web/member_walk.h"

#include <algorithm>

namespace {

constexpr int kSlotLeft = 20;
constexpr int kSlotPitch = 38;
constexpr Point kSlotSize{33, 41};
constexpr int kMarkerFromRight = 35;
constexpr int kMarkerBelowRowTop = 11;

constexpr Point kFirstCell{10, 10};
constexpr Point kCellPitch{71, 88};
constexpr Point kCellSize{66, 83};
constexpr int kCellsPerRow = 4;

} // namespace

std::optional<Rect> GroupSlot(int rowTop, int slot) {
    if (slot < 0 || slot >= kGroupSlots) {
        return std::nullopt;
    }
    const int left = kSlotLeft + kSlotPitch * slot;
    return Rect{left, rowTop, left + kSlotSize.x, rowTop + kSlotSize.y};
}

Rect RowMarker(int row, int windowWidth) {
    const int left = windowWidth - kMarkerFromRight;
    const int top = GroupRowTop(row) + kMarkerBelowRowTop;
    return Rect{left, top, left + kMarkerSize, top + kMarkerSize};
}

std::optional<Rect> NetworkCell(int cell) {
    if (cell < 0 || cell >= kNetworkCells) {
        return std::nullopt;
    }
    const int left = kFirstCell.x + kCellPitch.x * (cell % kCellsPerRow);
    const int top = kFirstCell.y + kCellPitch.y * (cell / kCellsPerRow);
    return Rect{left, top, left + kCellSize.x, top + kCellSize.y};
}

CellRange EmptyCells(int placesUsed, int memberCount) {
    const int first = std::clamp(placesUsed, 0, kNetworkCells);
    const int empty = kNetworkCells - DrawableMemberCount(memberCount);
    return CellRange{first, std::min(first + empty, kNetworkCells)};
}
