#include "app/win32/notice_window.h"

#include "app/main_thread_state.h"
#include "platform/win32/window_class.h"
#include "platform/win32/wide_text.h"
#include "session/user_texts.h"

#include <windows.h>

#include <string>

namespace {

constexpr wchar_t kNoticeClass[] = L"CustomDialog";
constexpr UINT_PTR kCloseTimerId = 1;
constexpr UINT kCloseAfterMs = 20000;
constexpr int kOffsetFromOwner = 20;
constexpr int kNoticeWidth = 400;
constexpr int kNoticeHeight = 200;

LRESULT CALLBACK NoticeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        // The caller's flag that tells its own quit message from an outer loop's.
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        SetTimer(window, kCloseTimerId, kCloseAfterMs, nullptr);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kCloseTimerId) {
            KillTimer(window, kCloseTimerId);
            DestroyWindow(window);
            return 0;
        }
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == 1 || LOWORD(wParam) == 2) {
            DestroyWindow(window);
            return 0;
        }
        break;
    case WM_DESTROY:
        if (auto* closed = reinterpret_cast<bool*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
            *closed = true;
        }
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterNoticeClass(HINSTANCE module) {
    RegisterWindowClass(module, kNoticeClass, NoticeWindowProc, WindowClassLook{});
}

} // namespace

void ShowSupervisorNotice(const char* utf8) {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    RegisterNoticeClass(module);
    const HWND owner = MainThread().handles.mainWindow;
    RECT ownerRect{};
    if (owner != nullptr) {
        GetWindowRect(owner, &ownerRect);
    }
    bool closed = false;
    const HWND notice =
        CreateWindowExW(0, kNoticeClass, WideFromUtf8(kSupervisorInfo).c_str(), WS_OVERLAPPEDWINDOW,
                        ownerRect.left + kOffsetFromOwner, ownerRect.top + kOffsetFromOwner, kNoticeWidth,
                        kNoticeHeight, owner, nullptr, module, &closed);
    if (notice == nullptr) {
        return;
    }
    ShowWindow(notice, SW_SHOW);
    UpdateWindow(notice);
    const std::wstring text = WideFromUtf8(utf8);
    CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE, 10, 10, 280, 150, notice, nullptr,
                    module, nullptr);

    MSG message{};
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // Only one quit message can wait in a queue: when the main window went while the notice was up, its quit
    // and the notice's merged into this one, and the outer loop must still see it.
    const bool ownerGone = owner != nullptr && !IsWindow(owner);
    if (closed && !ownerGone) {
        return;
    }
    if (!closed) {
        DestroyWindow(notice);
    }
    PostQuitMessage(got == 0 ? static_cast<int>(message.wParam) : 0);
}
