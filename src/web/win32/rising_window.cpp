#include "web/win32/rising_window.h"

#include "session/session_state.h"
#include "platform/win32/window_class.h"

#include <vector>

namespace {

constexpr UINT kFrameMove = SWP_NOACTIVATE | SWP_NOZORDER;

void ShowFrames(HWND window, const std::vector<WindowFrame>& frames, int pauseMs) {
    for (const WindowFrame& frame : frames) {
        SetWindowPos(window, nullptr, frame.x, frame.y, frame.width, frame.height, kFrameMove);
        UpdateWindow(window);
        Sleep(static_cast<DWORD>(pauseMs));
    }
}

Rect ScreenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return Rect{rect.left, rect.top, rect.right, rect.bottom};
}

} // namespace

HWND OpenRisingWindow(const RisingWindow& spec) {
    const HWND mainWindow = Session().handles.mainWindow;
    const HINSTANCE module = GetModuleHandleW(nullptr);
    const Rect main = ScreenRect(mainWindow);
    WindowClassLook look;
    look.style = spec.classStyle;
    look.background = CreateSolidBrush(spec.background);
    if (!RegisterWindowClass(module, spec.className, spec.procedure, look)) {
        return nullptr;
    }
    const Point start{(spec.anchorRight ? main.right : main.left) + spec.offset.x, main.top + spec.offset.y};
    const HWND window = CreateWindowExW(0, spec.className, spec.title, WS_VISIBLE | WS_SYSMENU, start.x,
                                        start.y, 10, 10, mainWindow, nullptr, module, nullptr);
    if (window == nullptr) {
        return nullptr;
    }
    ShowWindow(window, SW_SHOW);
    ShowFrames(window, RiseFrames(start), kRisePauseMs);
    ShowFrames(window, GrowFrames(ScreenRect(window), spec.growth), spec.growth.pauseMs);
    return window;
}

void ReturnFocusToMainWindow() {
    SetForegroundWindow(Session().handles.mainWindow);
}
