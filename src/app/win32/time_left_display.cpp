#include "app/win32/time_left_display.h"

#include "app/main_window_layout.h"
#include "app/session_state.h"
#include "platform/win32/draw_helpers.h"
#include "net/inactivity_countdown.h"
#include "app/win32/notice_window.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/timer_cost.h"
#include "platform/paint_memo.h"
#include "session/user_texts.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr int kLabelTop = 293;

void CloseForInactivity(SessionState& session) {
    const HWND mainWindow = session.handles.mainWindow;
    KillTimer(nullptr, session.handles.timerIds[kTimerTimeLeft]);
    EnableWindow(mainWindow, FALSE);
    ShowSupervisorNotice(kInactivityTimeIsOver);
    EnableWindow(mainWindow, TRUE);
    DestroyWindow(mainWindow);
}

void DrawTimeText(HDC dc, const char* text, COLORREF background) {
    const RECT zone{kTimeLeftZone.left, kTimeLeftZone.top, kTimeLeftZone.right, kTimeLeftZone.bottom};
    FillRect(dc, &zone, GetSysColorBrush(COLOR_SCROLLBAR));
    SetTextColor(dc, RGB(255, 255, 0));
    SetBkColor(dc, background);
    SetBkMode(dc, OPAQUE);
    TextOutA(dc, kTimeLeftZone.left, kTimeLeftZone.top, text, static_cast<int>(std::strlen(text)));
}

void DrawTimeLeftLabel(HDC dc, COLORREF background) {
    DrawLabel(dc, "TIME LEFT", kTimeLeftZone.left, kLabelTop, background);
}

// The time changes every second; the label below it only with the background or after an exposure.
void PaintTimeLeft(const SessionState& session, const char* text) {
    const HWND mainWindow = session.handles.mainWindow;
    if (mainWindow == nullptr || !IsWindow(mainWindow)) {
        return;
    }
    static PaintMemo<std::uint32_t> labelMemo;
    const bool label = labelMemo.ShouldPaint(session.backgroundColour, MainWindowExposures());
    const ScopedGetDC dc(mainWindow);
    if (!dc) {
        labelMemo.Forget();
        return;
    }
    DrawTimeText(dc.get(), text, session.backgroundColour);
    if (label) {
        DrawTimeLeftLabel(dc.get(), session.backgroundColour);
    }
}

} // namespace

void DrawTimeLeft(HDC dc, const char* text, COLORREF background) {
    DrawTimeText(dc, text, background);
    DrawTimeLeftLabel(dc, background);
}

void CALLBACK TimeLeftTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    const TimerCost cost("time left");
    SessionState& session = Session();
    const CountdownTick tick =
        TickInactivityCountdown(session.inactivitySeconds, session.inactivityCloseFired);
    if (tick.closeNow) {
        CloseForInactivity(session);
        return; // the main window is gone: nothing left to paint on
    }
    PaintTimeLeft(session, tick.text);
}
