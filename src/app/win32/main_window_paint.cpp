#include "app/win32/main_window_paint.h"

#include "app/win32/peripheral_states.h"
#include "app/main_window_layout.h"
#include "app/main_thread_state.h"
#include "app/subsystem_states.h"
#include "app/win32/close_button.h"
#include "platform/win32/draw_helpers.h"
#include "app/win32/panel_painters.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/scoped_win.h"
#include "session/user_texts.h"

#include <string>

namespace {

constexpr COLORREF kYellow = 0x0000FFFF;
constexpr COLORREF kWhite = 0x00FFFFFF;

void PaintOutline(HDC dc, COLORREF background) {
    const ScopedBrush brush(CreateSolidBrush(background));
    const ScopedPen outlinePen(CreatePen(PS_SOLID, 4, kYellow));
    const ScopedPen framePen(CreatePen(PS_SOLID, 2, kYellow));
    const ScopedSelect brushSelection(dc, brush.get());
    const ScopedSelect outlineSelection(dc, outlinePen.get());
    if (!brushSelection.Ok() || !outlineSelection.Ok()) {
        return;
    }
    RoundRect(dc, 0, 0, kMainWindowWidth, kMainWindowHeight, kMainWindowCornerDiameter,
              kMainWindowCornerDiameter);
    const ScopedSelect frameSelection(dc, framePen.get());
    if (frameSelection.Ok()) {
        // Fixed geometry rather than the zones, so the very first paint, before start-up sets them, is whole.
        RoundRect(dc, kBottomFrame.left, kBottomFrame.top, kBottomFrame.right, kBottomFrame.bottom, 20, 20);
    }
}

void PaintVersionAndCredit(HDC dc, COLORREF background) {
    const ScopedTextStyle style(dc, 14, kWhite, &background);
    if (!style.Ready()) {
        return;
    }
    TextOutA(dc, 430, 605, "Version ", 8);
    TextOutA(dc, 480, 605, kVersionText, static_cast<int>(sizeof kVersionText - 1));
    SetTextColor(dc, kYellow);
    // Fixed geometry rather than the zone, so the very first paint, before start-up sets it, is whole.
    RECT aboutRect{kAboutZone.left, kAboutZone.top, kAboutZone.right, kAboutZone.bottom};
    const std::wstring credit = WideFromUtf8(kAboutZelvora);
    DrawTextW(dc, credit.c_str(), -1, &aboutRect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

} // namespace

void PaintMainWindow(HWND window) {
    AccountState& account = Account();
    const COLORREF background = account.backgroundColour;
    const ScopedPaint paint(window);
    NoteMainWindowExposed();
    const HDC dc = paint.get();
    if (dc != nullptr) {
        PaintOutline(dc, background);
        DrawTitle(dc);
        DrawCloseButton(dc);
        PaintVersionAndCredit(dc, background);
        const UsbIconView& usbIcon = UsbIconOnWindow();
        if (const HBITMAP picture = usbIcon.picture.load(); picture != nullptr) {
            DrawStretchedBitmap(dc, picture, usbIcon.place.left, usbIcon.place.top,
                                usbIcon.place.right - usbIcon.place.left,
                                usbIcon.place.bottom - usbIcon.place.top);
        }
    }
    // The next speaker fetch repaints the speaker even when it has not changed; EndPaint follows.
    account.refetchFlag = true;
}
