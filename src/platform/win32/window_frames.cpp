#include "platform/win32/window_frames.h"

void PlayWindowFrames(HWND window, std::span<const WindowFrame> frames, int pauseMs) {
    for (const WindowFrame& frame : frames) {
        SetWindowPos(window, nullptr, frame.x, frame.y, frame.width, frame.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateWindow(window);
        Sleep(static_cast<DWORD>(pauseMs));
    }
}
