#include "app/win32/close_button.h"

#include "platform/win32/scoped_win.h"
#include "app/session_state.h"

namespace {

constexpr COLORREF kCrossRed = 0x000000FF;
constexpr COLORREF kCrossYellow = 0x0000FFFF;
constexpr int kHoverRed = 1;
constexpr int kHoverYellow = 2;

void DrawCross(HDC dc, COLORREF colour) {
    const Rect& close = Session().zones.close;
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
    if (Session().closeButtonReady) {
        DrawCross(dc, kCrossRed);
    }
}

void UpdateCloseButtonHover(HWND window, POINT pointer) {
    SessionState& session = Session();
    const bool inside = session.zones.close.Contains(Point{pointer.x, pointer.y});
    if (inside && session.closeButtonHover != kHoverYellow) {
        if (session.closeButtonReady) {
            DrawCrossOnWindow(window, kCrossYellow);
        }
        session.closeButtonHover = kHoverYellow;
    } else if (!inside && session.closeButtonHover != kHoverRed) {
        if (session.closeButtonReady) {
            DrawCrossOnWindow(window, kCrossRed);
        }
        session.closeButtonHover = kHoverRed;
    }
}
