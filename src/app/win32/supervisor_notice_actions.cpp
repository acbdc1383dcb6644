#include "app/win32/supervisor_notice_actions.h"

#include "session/session_state.h"
#include "platform/win32/wide_text.h"
#include "build_config.h"
#include "app/win32/notice_window.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <string>

namespace {

constexpr char kInstallerPath[] = "/installer.php";
constexpr char kClosingNotice[] =
    "Le superviseur va fermer\nautomatiquement votre application\ndans 20 secondes";

void OpenInstallerPage() {
    // The shell may hand the address to COM components: the supervisor thread needs its apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const std::wstring address = WideFromUtf8((std::string(kNetworkSiteUrl) + kInstallerPath).c_str());
    ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
}

} // namespace

void ActOnSupervisorNotice(SupervisorNotice notice) {
    const HWND mainWindow = Session().handles.mainWindow;
    if (notice == SupervisorNotice::UpdateRequired) {
        MessageBoxW(mainWindow, L"Votre application doit être mise à jour", L"Info du Superviseur",
                    MB_ICONWARNING | MB_OK);
        OpenInstallerPage();
    } else {
        ShowSupervisorNotice(kClosingNotice);
    }
    SendMessageW(mainWindow, WM_DESTROY, 0, 0);
}
