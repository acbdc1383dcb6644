// The parameters window's toggle when its window cannot be created: nothing stays marked open, so the next
// PARAMS click opens it.
#include "check.h"
#include "stand_in_windows.h"

#include "session/session_state.h"
#include "settings/win32/params_window.h"

#include <windows.h>

int main() {
    WindowHandles& handles = Session().handles;
    handles.mainWindow = DestroyedWindow();
    CHECK(ToggleParamsWindow() == 0);
    CHECK(handles.paramsWindow == nullptr);

    handles.mainWindow = StandInMainWindow();
    CHECK(ToggleParamsWindow() == 1);
    CHECK(handles.paramsWindow != nullptr);
    return CheckSummary("settings_params_window_test");
}
