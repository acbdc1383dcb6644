#include "app/win32/time_left_display.h"

#include "app/main_window_layout.h"
#include "app/main_thread_state.h"
#include "app/subsystem_states.h"
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

void CloseForInactivity(const WindowHandles& handles) {
    const HWND mainWindow = handles.mainWindow;
    KillTimer(nullptr, handles.timerIds[kTimerTimeLeft]);
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
    DrawLabel(dc, kTimeLeftLabel, kTimeLeftZone.left, kLabelTop, background);
}

// The time changes every second; the label below it only with the background or after an exposure.
void PaintTimeLeft(const WindowHandles& handles, COLORREF background, const char* text) {
    const HWND mainWindow = handles.mainWindow;
    if (mainWindow == nullptr || !IsWindow(mainWindow)) {
        return;
    }
    static PaintMemo<std::uint32_t> labelMemo;
    const bool label = labelMemo.ShouldPaint(background, MainWindowExposures());
    const ScopedGetDC dc(mainWindow);
    if (!dc) {
        labelMemo.Forget();
        return;
    }
    DrawTimeText(dc.get(), text, background);
    if (label) {
        DrawTimeLeftLabel(dc.get(), background);
    }
}

} // namespace

void DrawTimeLeft(HDC dc, const char* text, COLORREF background) {
    DrawTimeText(dc, text, background);
    DrawTimeLeftLabel(dc, background);
}

void CALLBACK TimeLeftTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    const TimerCost cost("time left");
    MainThreadState& mainThread = MainThread();
    const CountdownTick tick =
        TickInactivityCountdown(mainThread.inactivitySeconds, mainThread.inactivityCloseFired);
    if (tick.closeNow) {
        CloseForInactivity(mainThread.handles);
        return; // the main window is gone: nothing left to paint on
    }
    PaintTimeLeft(mainThread.handles, Account().backgroundColour, tick.text);
}
