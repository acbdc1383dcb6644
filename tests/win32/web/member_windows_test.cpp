// The group list and network windows: one that cannot be created opens at the next click, and the second
// click of an open one closes it.
#include "session/shared_state.h"
#include "web/account_state.h"
#include "web/win32/web_wiring.h"
#include "check.h"
#include "stand_in_windows.h"
#include "web/win32/group_list_window.h"
#include "web/win32/network_window.h"

#include <windows.h>

int main() {
    struct Toggle {
        int (*open)();
        const wchar_t* windowClass;
    };
    const Toggle toggles[] = {{OpenGroupList, L"GroupWndClass"}, {OpenNetworkWindow, L"NetworkWndClass"}};
    static SharedState shared;
    static AccountState account;
    Web().shared = &shared;
    Web().account = &account;
    shared.channelPort = kFirstChannelPort + 2;

    Web().mainWindow = DestroyedWindow();
    for (const Toggle& toggle : toggles) {
        CHECK(toggle.open() == 0);
    }

    Web().mainWindow = StandInMainWindow();
    for (const Toggle& toggle : toggles) {
        CHECK(toggle.open() == 1);
        CHECK(FindWindowW(toggle.windowClass, nullptr) != nullptr);
        CHECK(toggle.open() == 1);
        DispatchWaitingMessages();
        CHECK(FindWindowW(toggle.windowClass, nullptr) == nullptr);
    }
    return CheckSummary("web_member_windows_test");
}
