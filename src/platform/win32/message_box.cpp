#include "platform/win32/message_box.h"

#include "platform/win32/wide_text.h"

int ShowMessageBox(HWND owner, const char* utf8Text, const char* utf8Caption, UINT style) {
    return MessageBoxW(owner, WideFromUtf8(utf8Text).c_str(), WideFromUtf8(utf8Caption).c_str(), style);
}
