// The main window lets the talk key go when it loses the keyboard: to another window, or to the box an
// inactive key opens while the space bar is held.
#include "app/main_thread_state.h"
#include "app/subsystem_states.h"
#include "app/win32/main_window.h"

#include <windows.h>

#include <cstdio>
#include <mutex>

namespace {

int failures = 0;

#define CHECK(condition)                                                                                     \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::printf("main_window_test.cpp:%d: FAILED: %s\n", __LINE__, #condition);                      \
            ++failures;                                                                                      \
        }                                                                                                    \
    } while (0)

constexpr WPARAM kLetterA = 0x41;
int talkStateUnderBox = 0;

bool Talking() {
    return Shared().pushToTalk.KeyState() == kPttTalk;
}

HWND CreateTestWindow(const wchar_t* className, WNDPROC procedure) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, className, className, WS_POPUP | WS_VISIBLE, 0, 0, 550, 730, nullptr, nullptr,
                           nullptr, nullptr);
}

// Runs inside the box's modal loop: notes the talk state while the box is up, then answers it.
void CALLBACK AnswerInfoBox(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND box = FindWindowW(nullptr, L"Info Clavier");
    if (box != nullptr) {
        KillTimer(nullptr, timer);
        talkStateUnderBox = Talking() ? kPttTalk : kPttListen;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
}

} // namespace

int main() {
    const HWND mainWindow = CreateTestWindow(L"X", MainWindowProc);
    const HWND otherWindow = CreateTestWindow(L"OtherProgram", DefWindowProcW);
    CHECK(mainWindow != nullptr && otherWindow != nullptr);
    MainThread().handles.mainWindow = mainWindow;

    SetFocus(mainWindow);
    CHECK(GetFocus() == mainWindow);
    SendMessageW(mainWindow, WM_KEYDOWN, VK_SPACE, 0);
    CHECK(Talking());
    SetFocus(otherWindow);
    CHECK(!Talking());

    SetFocus(mainWindow);
    SendMessageW(mainWindow, WM_KEYDOWN, VK_SPACE, 0);
    CHECK(Talking());
    SetTimer(nullptr, 0, 20, AnswerInfoBox);
    SendMessageW(mainWindow, WM_KEYDOWN, kLetterA, 0); // returns once the box is answered
    CHECK(talkStateUnderBox == kPttListen);

    DestroyWindow(otherWindow);
    std::printf("main_window_test: %d failure(s)\n", failures);
    return failures;
}
