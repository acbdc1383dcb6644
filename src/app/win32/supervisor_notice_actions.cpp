#include "app/win32/supervisor_notice_actions.h"

#include "app/win32/notice_window.h"
#include "app/win32/site_page.h"
#include "platform/win32/message_box.h"
#include "app/session_state.h"

#include <windows.h>

namespace {

constexpr char kInstallerPath[] = "/installer.php";
constexpr char kClosingNotice[] =
    "Le superviseur va fermer\nautomatiquement votre application\ndans 20 secondes";

} // namespace

void ActOnSupervisorNotice(SupervisorNotice notice) {
    const HWND mainWindow = Session().handles.mainWindow;
    if (notice == SupervisorNotice::UpdateRequired) {
        ShowMessageBox(mainWindow, "Votre application doit \xC3\xAAtre mise \xC3\xA0 jour",
                       "Info du Superviseur", MB_ICONWARNING | MB_OK);
        OpenSitePage(kInstallerPath);
    } else {
        ShowSupervisorNotice(kClosingNotice);
    }
    SendMessageW(mainWindow, WM_DESTROY, 0, 0);
}
