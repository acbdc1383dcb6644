#include "app/win32/close_button.h"

#include "app/session_state.h"

namespace {

constexpr COLORREF kCrossRed = 0x000000FF;
constexpr COLORREF kCrossYellow = 0x0000FFFF;
constexpr int kHoverRed = 1;
constexpr int kHoverYellow = 2;

void DrawCross(HDC dc, COLORREF colour) {
    const Rect& close = Session().zones.close;
    HPEN pen = CreatePen(PS_SOLID, 4, colour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    MoveToEx(dc, close.left + 10, close.top + 10, nullptr);
    LineTo(dc, close.left + 20, close.top + 20);
    MoveToEx(dc, close.right - 10, close.top + 10, nullptr);
    LineTo(dc, close.left + 10, close.top + 20);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void DrawCrossOnWindow(HWND window, COLORREF colour) {
    HDC dc = GetDC(window);
    if (dc != nullptr) {
        DrawCross(dc, colour);
        ReleaseDC(window, dc);
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
