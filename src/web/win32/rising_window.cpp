#include "web/win32/rising_window.h"

#include "session/shared_state.h"
#include "web/account_state.h"
#include "web/win32/web_wiring.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/window_class.h"
#include "platform/win32/window_frames.h"

namespace {

constexpr UINT kRefreshPeriodMs = 1000;

Rect ScreenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return Rect{rect.left, rect.top, rect.right, rect.bottom};
}

HWND OpenRisingWindow(const RisingWindow& spec) {
    const HWND mainWindow = Web().mainWindow;
    const HINSTANCE module = GetModuleHandleW(nullptr);
    const Rect main = ScreenRect(mainWindow);
    WindowClassLook look;
    look.style = spec.classStyle;
    look.background = CreateSolidBrush(spec.background);
    if (!RegisterWindowClass(module, spec.className, spec.procedure, look)) {
        return nullptr;
    }
    const Point start{(spec.anchorRight ? main.right : main.left) + spec.offset.x, main.top + spec.offset.y};
    const HWND window =
        CreateWindowExW(0, spec.className, WideFromUtf8(spec.title).c_str(), WS_VISIBLE | WS_SYSMENU, start.x,
                        start.y, 10, 10, mainWindow, nullptr, module, nullptr);
    if (window == nullptr) {
        return nullptr;
    }
    ShowWindow(window, SW_SHOW);
    PlayWindowFrames(window, RiseFrames(start), kRisePauseMs);
    PlayWindowFrames(window, GrowFrames(ScreenRect(window), spec.growth), spec.growth.pauseMs);
    return window;
}

} // namespace

int ToggleRisingWindow(const RisingWindow& spec, RisingWindowState& state) {
    if (state.isOpen) {
        PostMessageW(state.window, WM_CLOSE, 0, 0);
        return 1;
    }
    state.isOpen = true;
    state.isReady = false;
    state.window = OpenRisingWindow(spec);
    if (state.window == nullptr) {
        state.isOpen = false;
        return 0;
    }
    state.isReady = true;
    // The windows that rise out of the main window never keep the keyboard: the talk key must keep working.
    SetForegroundWindow(Web().mainWindow);
    SetTimer(state.window, spec.refreshTimer, kRefreshPeriodMs, nullptr);
    return 1;
}

void ForgetRisingWindow(const RisingWindow& spec, RisingWindowState& state) {
    KillTimer(state.window, spec.refreshTimer);
    state = RisingWindowState{};
}
