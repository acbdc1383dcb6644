#include "peripherals/win32/synthesiser_toggle.h"

#include "peripherals/synth_link.h"
#include "platform/win32/scoped_win.h"
#include "platform/win32/wide_text.h"
#include "session/user_texts.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cwchar>

namespace {

constexpr wchar_t kSynthesiserExe[] = L"Vocaline.exe";
constexpr COLORREF kStatusColour = RGB(255, 255, 0);

// One line centred in the status frame, yellow on the window's background; it stays until painted over.
void ShowStatus(const StatusLine& status, const char* text) {
    const ScopedGetDC dc(status.window);
    if (!dc) {
        return;
    }
    SetTextColor(dc.get(), kStatusColour);
    SetBkColor(dc.get(), status.background);
    SetBkMode(dc.get(), OPAQUE);
    RECT frame{status.frame.left, status.frame.top, status.frame.right, status.frame.bottom};
    DrawTextW(dc.get(), WideFromUtf8(text).c_str(), -1, &frame, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// "<Program Files>\Zelvora\Vocaline.exe"; false when the folder is unknown or the path too long.
bool BuildSynthesiserPath(wchar_t (&path)[MAX_PATH], bool* folderFound) {
    PWSTR programFiles = nullptr;
    *folderFound = SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramFiles, 0, nullptr, &programFiles));
    bool built = false;
    if (*folderFound) {
        const int length = std::swprintf(path, MAX_PATH, L"%ls\\Zelvora\\%ls", programFiles, kSynthesiserExe);
        built = length > 0 && length < MAX_PATH;
    }
    CoTaskMemFree(programFiles);
    return built;
}

// A snapshot that cannot be taken counts as "not running": a start is attempted.
bool SynthesiserRuns() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return false;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
         more = Process32NextW(snapshot, &entry)) {
        found = CompareStringOrdinal(entry.szExeFile, -1, kSynthesiserExe, -1, TRUE) == CSTR_EQUAL;
    }
    CloseHandle(snapshot);
    return found;
}

bool StartSynthesiser(wchar_t* path) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return false;
    }
    // Nothing waits for the synthesiser or watches it.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace

bool ToggleSynthesiser(const SynthLink& link, const StatusLine& status) {
    wchar_t path[MAX_PATH] = {};
    bool folderFound = false;
    const bool pathBuilt = BuildSynthesiserPath(path, &folderFound);
    if (!folderFound) {
        ShowStatus(status, kProgramFilesNotFound);
        return false;
    }
    if (SynthesiserRuns()) {
        ShowStatus(status, kSynthesiserClosing);
        SendSynthStop(link);
        return true;
    }
    if (!pathBuilt || !StartSynthesiser(path)) {
        ShowStatus(status, kSynthesiserNotStarted);
        return false;
    }
    ShowStatus(status, kSynthesiserStarted);
    return true;
}
