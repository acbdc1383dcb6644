// The group list and network windows: one that cannot be created opens at the next click, and the second
// click of an open one closes it.
#include "session/session_state.h"
#include "check.h"
#include "web/win32/group_list_window.h"
#include "web/win32/network_window.h"

#include <windows.h>

int main() {
    struct Toggle {
        int (*open)();
        const wchar_t* windowClass;
    };
    const Toggle toggles[] = {{OpenGroupList, L"GroupWndClass"}, {OpenNetworkWindow, L"NetworkWndClass"}};
    Session().channelPort = kFirstChannelPort + 2;

    // An owner that is no longer a window: creation fails.
    const HWND gone =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    Session().handles.mainWindow = gone;
    for (const Toggle& toggle : toggles) {
        CHECK(toggle.open() == 0);
    }

    Session().handles.mainWindow = CreateWindowExW(0, L"STATIC", L"ZELVORA", WS_POPUP | WS_VISIBLE, 100, 80,
                                                   550, 730, nullptr, nullptr, nullptr, nullptr);
    for (const Toggle& toggle : toggles) {
        CHECK(toggle.open() == 1);
        CHECK(FindWindowW(toggle.windowClass, nullptr) != nullptr);
        CHECK(toggle.open() == 1);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        CHECK(FindWindowW(toggle.windowClass, nullptr) == nullptr);
    }
    return CheckSummary("web_member_windows_test");
}
