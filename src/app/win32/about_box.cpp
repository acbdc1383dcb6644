#include "app/win32/about_box.h"

#include "app/main_thread_state.h"
#include "app/win32/resource_ids.h"

namespace {

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

} // namespace

void ShowAboutBox(HWND owner) {
    DialogBoxParamW(reinterpret_cast<HINSTANCE>(MainThread().handles.instance),
                    MAKEINTRESOURCEW(IDD_ABOUT_BOX), owner, AboutDialogProc, 0);
}
