// The version resources read back through the system, as Explorer's properties and the installed-programs
// list read them: Zelvora.exe and its setup program both carry the build's version.
#include "check.h"
#include "version.h"

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr WORD kVersion[] = {ZELVORA_VERSION_NUMBERS};

std::wstring Widen(const char* text) {
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

void CheckVersionResource(const wchar_t* path) {
    std::wprintf(L"%ls\n", path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    CHECK(size > 0);
    if (size == 0) {
        return;
    }
    std::vector<unsigned char> block(size);
    CHECK(GetFileVersionInfoW(path, 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    CHECK(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed);
    if (fixed) {
        CHECK(HIWORD(fixed->dwFileVersionMS) == kVersion[0] && LOWORD(fixed->dwFileVersionMS) == kVersion[1]);
        CHECK(HIWORD(fixed->dwFileVersionLS) == kVersion[2] && LOWORD(fixed->dwFileVersionLS) == kVersion[3]);
        CHECK(fixed->dwProductVersionMS == fixed->dwFileVersionMS);
        CHECK(fixed->dwProductVersionLS == fixed->dwFileVersionLS);
    }

    // The strings of the first language the resource declares: French, as both programs are.
    WORD* translation = nullptr;
    CHECK(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                         &length) &&
          length >= 4);
    if (!translation || length < 4) {
        return;
    }
    CHECK(translation[0] == MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH));
    wchar_t prefix[64];
    std::swprintf(prefix, 64, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    const auto value = [&](const wchar_t* name) {
        wchar_t* text = nullptr;
        UINT chars = 0;
        const std::wstring query = std::wstring(prefix) + name;
        return VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &chars) && text
                   ? std::wstring(text)
                   : std::wstring();
    };
    CHECK(value(L"ProductName") == L"Zelvora");
    CHECK(value(L"ProductVersion") == Widen(ZELVORA_VERSION_TEXT));
    CHECK(value(L"FileVersion") == Widen(ZELVORA_VERSION_TEXT));
}

} // namespace

// Run from its own folder of the windows build tree, which holds the client's run folder and the setup
// program.
int main() {
    CheckVersionResource(L"..\\..\\..\\run\\Zelvora.exe");
    CheckVersionResource((L"..\\..\\..\\Zelvora-" + Widen(ZELVORA_VERSION_TEXT) + L"-setup.exe").c_str());
    return CheckSummary("version_resource_test");
}
