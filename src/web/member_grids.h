#pragma once

#include "platform/geometry.h"

#include <optional>

// Where the group list and network windows put the members' pictures, in client coordinates.

// The group list: one row per named channel, 1..10, each with a label and 16 picture slots.
inline constexpr int kGroupRows = 10;
inline constexpr int kGroupSlots = 16;
inline constexpr Point kGroupLabelOffset{5, 10}; // from the row's left edge and top
inline constexpr int kMarkerSize = 10;

// The top of row 1..10.
constexpr int GroupRowTop(int row) {
    return 51 * row - 41;
}

// Slot 0..15 of the row whose top is `rowTop`; nothing for any other slot.
std::optional<Rect> GroupSlot(int rowTop, int slot);

// The row the next tick refreshes, 1..10 in turn; it keeps its place between openings.
class RotatingRow {
  public:
    int Current() const { return row_; }
    // The row refreshed before the current one: 10 before 1.
    int Previous() const { return row_ == 1 ? kGroupRows : row_ - 1; }
    void Advance() { row_ = row_ == kGroupRows ? 1 : row_ + 1; }

  private:
    int row_ = 1;
};

// The square marking `row` as just refreshed, in a window `windowWidth` wide.
Rect RowMarker(int row, int windowWidth);

// The network window: 16 cells of 66 x 83 in reading order, 4 to a row.
inline constexpr int kNetworkCells = 16;

// Cell 0..15 (0 at the top left); nothing for any other cell.
std::optional<Rect> NetworkCell(int cell);

// The cells left empty after a pass that placed `placesUsed` pictures while the channel lists `memberCount`
// members: they begin where the pictures end and never run past the grid.
struct CellRange {
    int first = 0;
    int end = 0; // one past the last
    constexpr bool operator==(const CellRange&) const = default;
};
CellRange EmptyCells(int placesUsed, int memberCount);

// Whether a timer tick of the network window draws the grid: only when the current channel's count has
// changed since the last tick that drew it. A repaint always draws and leaves the memo alone.
class GridRedrawMemo {
  public:
    // When the window goes, so the first tick of its next opening draws.
    void Forget() { lastDrawn_ = kNeverDrawn; }
    bool TickDraws(int currentCount) const { return currentCount != lastDrawn_; }
    void NoteTickDrew(int currentCount) { lastDrawn_ = currentCount; }

  private:
    static constexpr int kNeverDrawn = -1;
    int lastDrawn_ = kNeverDrawn;
};
