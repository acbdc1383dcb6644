#include "platform/win32/image_loading.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/message_box.h"

HBITMAP LoadBitmapFile(const char* fileName) {
    return static_cast<HBITMAP>(LoadImageW(nullptr, WideFromUtf8(fileName).c_str(), IMAGE_BITMAP, 0, 0,
                                           LR_LOADFROMFILE | LR_DEFAULTSIZE));
}

void ReportMissingImage(HWND mainWindow, const char* boxText, const char* boxCaption) {
    EnableWindow(mainWindow, FALSE);
    ShowMessageBox(mainWindow, boxText, boxCaption, MB_ICONQUESTION | MB_OK);
    EnableWindow(mainWindow, TRUE);
    DestroyWindow(mainWindow);
}
