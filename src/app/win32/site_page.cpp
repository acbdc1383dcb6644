#include "app/win32/site_page.h"

#include "platform/win32/wide_text.h"
#include "build_config.h"
#include "platform/win32/scoped_win.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

void OpenSitePage(const char* path) {
    const std::wstring address = WideFromUtf8((std::string(kNetworkSiteUrl) + path).c_str());
    // The shell may hand the address to COM components, which need an apartment on the calling thread.
    const ScopedCom com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
