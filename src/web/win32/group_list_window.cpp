#include "web/win32/group_list_window.h"

#include "session/shared_state.h"
#include "web/account_state.h"
#include "web/win32/web_wiring.h"
#include "platform/win32/draw_helpers.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/timer_cost.h"
#include "platform/win32/wide_text.h"
#include "web/member_grids.h"
#include "web/member_walk.h"
#include "web/win32/member_picture.h"
#include "web/win32/rising_window.h"
#include "session/user_texts.h"

#include <cstdio>
#include <string>

namespace {

constexpr UINT_PTR kRefreshTimer = 14;
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kCyan = RGB(0, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kWarningFontHeight = 14;

struct WarningLine {
    const char* text;
    Point origin;
};
// Every refresh fetches every picture of a row again, hence the standing warning.
constexpr WarningLine kWarningLines[] = {
    {kDoNotLeaveThisWindowOpen, {200, 550}},
    {kItUsesMuchNetwork, {186, 570}},
};

RisingWindowState groupList;
RotatingRow rotatingRow;

LRESULT CALLBACK GroupListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

const RisingWindow kGroupListWindow{
    .className = L"GroupWndClass",
    .title = kGroupListTitle,
    .procedure = GroupListProc,
    .classStyle = 0,
    .background = kBlue,
    .offset = {100, 135},
    .anchorRight = false,
    .growth = kGroupListGrowth,
    .refreshTimer = kRefreshTimer,
};

void FillArea(HDC dc, const Rect& area, HBRUSH brush) {
    const RECT rect{area.left, area.top, area.right, area.bottom};
    FillRect(dc, &rect, brush);
}

void DrawRowLabel(HDC dc, int row, int top) {
    char label[4];
    std::snprintf(label, sizeof label, "%02d", row);
    DrawLabel(dc, label, kGroupLabelOffset.x, top + kGroupLabelOffset.y, Web().account->backgroundColour);
}

// Row `row` (its channel's members) with the cyan brush of the paint in progress.
void DrawGroupRow(HDC dc, HBRUSH cyan, int row) {
    const int top = GroupRowTop(row);
    DrawRowLabel(dc, row, top);
    for (int slot = 0; slot < kGroupSlots; ++slot) {
        FillArea(dc, *GroupSlot(top, slot), cyan);
    }
    // Again, over any slot edge that touched the label.
    DrawRowLabel(dc, row, top);
    WalkChannelMembers(Web().shared->channelMembers.Snapshot(row), [dc, top](int account, int place) {
        const std::optional<Rect> slot = GroupSlot(top, place);
        return slot && DrawMemberPicture(dc, account, *slot);
    });
}

void DrawWarningLines(HDC dc) {
    const ScopedFont font(CreateFontW(kWarningFontHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                      ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial"));
    const ScopedSelect selected(dc, font.get());
    if (!selected.Ok()) {
        return;
    }
    const int oldMode = SetBkMode(dc, OPAQUE);
    const COLORREF oldBackground = SetBkColor(dc, Web().account->backgroundColour);
    const COLORREF oldText = SetTextColor(dc, kWhite);
    for (const WarningLine& line : kWarningLines) {
        const std::wstring text = WideFromUtf8(line.text);
        TextOutW(dc, line.origin.x, line.origin.y, text.c_str(), static_cast<int>(text.size()));
    }
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBackground);
    SetBkMode(dc, oldMode);
}

void PaintAllRows(HWND window) {
    const ScopedPaint paint(window);
    if (!groupList.isReady || paint.get() == nullptr) {
        return;
    }
    const ScopedBrush cyan(CreateSolidBrush(kCyan));
    for (int row = 1; row <= kGroupRows; ++row) {
        DrawGroupRow(paint.get(), cyan.get(), row);
    }
    rotatingRow.Advance();
    DrawWarningLines(paint.get());
}

// One tick: the rotating row again, its marker moved from the row refreshed before it.
void RefreshGroupRow(HWND window) {
    const TimerCost cost("group list row");
    const ScopedGetDC dc(window);
    if (!dc) {
        return;
    }
    const ScopedBrush cyan(CreateSolidBrush(kCyan));
    const int row = rotatingRow.Current();
    DrawGroupRow(dc.get(), cyan.get(), row);
    RECT frame{};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const ScopedBrush red(CreateSolidBrush(kRed));
    FillArea(dc.get(), RowMarker(row, width), red.get());
    FillArea(dc.get(), RowMarker(rotatingRow.Previous(), width), cyan.get());
    rotatingRow.Advance();
    DrawWarningLines(dc.get());
}

LRESULT CALLBACK GroupListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return 0;
    case WM_PAINT:
        PaintAllRows(window);
        return 0;
    case WM_TIMER:
        if (wParam == kRefreshTimer && groupList.isReady) {
            RefreshGroupRow(window);
        }
        return 0;
    case WM_DESTROY:
        ForgetRisingWindow(kGroupListWindow, groupList);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int OpenGroupList() {
    return ToggleRisingWindow(kGroupListWindow, groupList);
}
