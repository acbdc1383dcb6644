// The parameters window's toggle when its window cannot be created: nothing stays marked open, so the next
// PARAMS click opens it.
#include "check.h"
#include "stand_in_windows.h"

#include "audio/audio_state.h"
#include "audio/win32/audio_wiring.h"
#include "session/shared_state.h"
#include "settings/win32/params_window.h"
#include "web/account_state.h"
#include "web/win32/web_wiring.h"

#include <windows.h>

int main() {
    static SharedState shared;
    static AccountState account;
    static AudioState audio;
    Web().shared = &shared;
    Web().account = &account;
    AudioWindows().audio = &audio;

    Web().mainWindow = DestroyedWindow();
    CHECK(ToggleParamsWindow() == 0);
    CHECK(FindWindowW(L"ParamWndClass", nullptr) == nullptr);

    Web().mainWindow = StandInMainWindow();
    CHECK(ToggleParamsWindow() == 1);
    CHECK(FindWindowW(L"ParamWndClass", nullptr) != nullptr);
    return CheckSummary("settings_params_window_test");
}
