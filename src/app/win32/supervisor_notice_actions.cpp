#include "app/win32/supervisor_notice_actions.h"

#include "app/win32/notice_window.h"
#include "app/win32/site_page.h"
#include "platform/win32/message_box.h"
#include "app/main_thread_state.h"
#include "session/user_texts.h"

#include <windows.h>

namespace {

constexpr char kInstallerPath[] = "/installer.php";

} // namespace

void ActOnSupervisorNotice(SupervisorNotice notice) {
    const HWND mainWindow = MainThread().handles.mainWindow;
    if (notice == SupervisorNotice::UpdateRequired) {
        ShowMessageBox(mainWindow, kApplicationMustBeUpdated, kSupervisorInfo, MB_ICONWARNING | MB_OK);
        OpenSitePage(kInstallerPath);
    } else {
        ShowSupervisorNotice(kSupervisorClosesIn20Seconds);
    }
    SendMessageW(mainWindow, WM_DESTROY, 0, 0);
}
