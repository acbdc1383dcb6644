#include "app/win32/close_button.h"

#include "platform/win32/scoped_win.h"
#include "app/main_thread_state.h"

namespace {

constexpr COLORREF kCrossRed = 0x000000FF;
constexpr COLORREF kCrossYellow = 0x0000FFFF;
constexpr int kHoverRed = 1;
constexpr int kHoverYellow = 2;

void DrawCross(HDC dc, COLORREF colour) {
    const Rect& close = MainThread().zones.close;
    const ScopedPen pen(CreatePen(PS_SOLID, 4, colour));
    const ScopedSelect penSelection(dc, pen.get());
    const ScopedSelect brushSelection(dc, GetStockObject(WHITE_BRUSH));
    if (!penSelection.Ok()) {
        return;
    }
    MoveToEx(dc, close.left + 10, close.top + 10, nullptr);
    LineTo(dc, close.left + 20, close.top + 20);
    MoveToEx(dc, close.right - 10, close.top + 10, nullptr);
    LineTo(dc, close.left + 10, close.top + 20);
}

void DrawCrossOnWindow(HWND window, COLORREF colour) {
    const ScopedGetDC dc(window);
    if (dc) {
        DrawCross(dc.get(), colour);
    }
}

} // namespace

void DrawCloseButton(HDC dc) {
    if (MainThread().closeButtonReady) {
        DrawCross(dc, kCrossRed);
    }
}

void UpdateCloseButtonHover(HWND window, POINT pointer) {
    MainThreadState& mainThread = MainThread();
    const bool inside = mainThread.zones.close.Contains(Point{pointer.x, pointer.y});
    if (inside && mainThread.closeButtonHover != kHoverYellow) {
        if (mainThread.closeButtonReady) {
            DrawCrossOnWindow(window, kCrossYellow);
        }
        mainThread.closeButtonHover = kHoverYellow;
    } else if (!inside && mainThread.closeButtonHover != kHoverRed) {
        if (mainThread.closeButtonReady) {
            DrawCrossOnWindow(window, kCrossRed);
        }
        mainThread.closeButtonHover = kHoverRed;
    }
}
