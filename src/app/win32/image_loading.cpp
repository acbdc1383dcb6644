#include "app/win32/image_loading.h"

#include "app/win32/wide_text.h"

HBITMAP LoadBitmapFile(const char* fileName) {
    return static_cast<HBITMAP>(LoadImageW(nullptr, WideFromUtf8(fileName).c_str(), IMAGE_BITMAP, 0, 0,
                                           LR_LOADFROMFILE | LR_DEFAULTSIZE));
}

void ReportMissingImage(HWND mainWindow, const char* boxText, const char* boxCaption) {
    // After a first missing picture the window is gone; later boxes still reach the user, unowned.
    HWND owner = IsWindow(mainWindow) ? mainWindow : nullptr;
    if (owner != nullptr) {
        EnableWindow(owner, FALSE);
    }
    MessageBoxW(owner, WideFromUtf8(boxText).c_str(), WideFromUtf8(boxCaption).c_str(),
                MB_ICONQUESTION | MB_OK);
    if (owner != nullptr) {
        EnableWindow(owner, TRUE);
        DestroyWindow(owner);
    }
}

HBITMAP LoadRequiredImage(HWND mainWindow, const RequiredImage& image) {
    HBITMAP bitmap = LoadBitmapFile(image.fileName);
    if (bitmap == nullptr) {
        ReportMissingImage(mainWindow, image.boxText, image.boxCaption);
    }
    return bitmap;
}
