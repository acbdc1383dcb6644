#include "app/win32/wide_text.h"

#include <windows.h>

namespace {

std::wstring WideFromCodePage(UINT codePage, const char* text) {
    if (text == nullptr || *text == '\0') {
        return {};
    }
    const int length = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

} // namespace

std::wstring WideFromUtf8(const char* utf8) {
    return WideFromCodePage(CP_UTF8, utf8);
}

std::wstring WideFromAnsi(const char* ansi) {
    return WideFromCodePage(CP_ACP, ansi);
}
