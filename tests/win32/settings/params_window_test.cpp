// The parameters window's toggle when its window cannot be created: nothing stays marked open, so the next
// PARAMS click opens it.
#include "check.h"

#include "session/session_state.h"
#include "settings/win32/params_window.h"

#include <windows.h>

int main() {
    WindowHandles& handles = Session().handles;
    // A main window that no longer exists cannot own the parameters window.
    HWND gone =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 400, 100, 550, 730, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    handles.mainWindow = gone;
    CHECK(ToggleParamsWindow() == 0);
    CHECK(handles.paramsWindow == nullptr);

    handles.mainWindow =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 400, 100, 550, 730, nullptr, nullptr, nullptr, nullptr);
    CHECK(ToggleParamsWindow() == 1);
    CHECK(handles.paramsWindow != nullptr);
    return CheckSummary("settings_params_window_test");
}
