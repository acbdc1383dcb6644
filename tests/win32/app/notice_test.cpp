// The supervisor notice window and the inactivity close: what they show, and that the client never stays
// half-closed whichever of the notice and the main window goes first.
#include "app/main_thread_state.h"
#include "check.h"
#include "app/win32/notice_window.h"
#include "app/win32/time_left_display.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace {

// What the scripted action saw of the notice window while it was up.
struct Seen {
    int notices = 0;
    std::wstring title;
    std::wstring text;
    RECT rect{};
    HWND owner = nullptr;
    bool mainEnabled = true;
};

Seen gSeen;
void (*gAction)(HWND notice) = nullptr;
WPARAM gCommand = 1;

LRESULT CALLBACK TestMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0); // as the client's main window does
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateTestMainWindow() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = TestMainProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"NetTestMain";
        RegisterClassW(&windowClass);
        registered = true;
    }
    const HWND window = CreateWindowExW(0, L"NetTestMain", L"ZELVORA", WS_POPUP, 100, 80, 550, 730, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    MainThread().handles.mainWindow = window;
    return window;
}

// Runs on the notice's own message loop: records the notice, then does the scripted action once.
void CALLBACK ActOnNotice(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND notice = FindWindowW(L"CustomDialog", nullptr);
    if (notice == nullptr) {
        return;
    }
    KillTimer(nullptr, timer);
    ++gSeen.notices;
    wchar_t text[256] = {};
    GetWindowTextW(notice, text, 256);
    gSeen.title = text;
    GetWindowTextW(GetWindow(notice, GW_CHILD), text, 256);
    gSeen.text = text;
    GetWindowRect(notice, &gSeen.rect);
    gSeen.owner = GetWindow(notice, GW_OWNER);
    gSeen.mainEnabled = IsWindowEnabled(MainThread().handles.mainWindow) != FALSE;
    gAction(notice);
}

void ShowWithAction(void (*action)(HWND), const char* text = "Test") {
    gSeen = Seen{};
    gAction = action;
    SetTimer(nullptr, 0, 50, ActOnNotice);
    ShowSupervisorNotice(text);
}

// The quit message waiting for the outer loop, if any; -1 when there is none.
int TakePendingQuit() {
    MSG message;
    if (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        return static_cast<int>(message.wParam);
    }
    return -1;
}

void TestDismissedNoticeLeavesNoQuitBehind() {
    const HWND main = CreateTestMainWindow();
    for (WPARAM command : {1, 2}) { // OK, then Cancel; the second notice finds its window class registered
        gCommand = command;
        ShowWithAction(
            [](HWND notice) { PostMessageW(notice, WM_COMMAND, gCommand, 0); },
            "Le superviseur va fermer\nautomatiquement votre application\ndans 20 secondes \xC3\xA9");
        CHECK(gSeen.notices == 1);
        CHECK(gSeen.title == L"Info du Superviseur");
        CHECK(gSeen.text ==
              L"Le superviseur va fermer\nautomatiquement votre application\ndans 20 secondes \u00e9");
        RECT mainRect;
        GetWindowRect(main, &mainRect);
        CHECK(gSeen.rect.left == mainRect.left + 20 && gSeen.rect.top == mainRect.top + 20);
        CHECK(gSeen.rect.right - gSeen.rect.left == 400 && gSeen.rect.bottom - gSeen.rect.top == 200);
        CHECK(gSeen.owner == main);
        CHECK(FindWindowW(L"CustomDialog", nullptr) == nullptr);
        CHECK(TakePendingQuit() == -1);
        CHECK(IsWindow(main));
    }
    DestroyWindow(main);
    TakePendingQuit();
}

void TestQuitForTheOuterLoopIsPassedOn() {
    const HWND main = CreateTestMainWindow();
    ShowWithAction([](HWND) { PostQuitMessage(7); });
    CHECK(FindWindowW(L"CustomDialog", nullptr) == nullptr);
    CHECK(TakePendingQuit() == 7);
    DestroyWindow(main);
    TakePendingQuit();
}

void TestMainWindowDestroyedWhileTheNoticeIsUp() {
    const HWND main = CreateTestMainWindow();
    ShowWithAction([](HWND) { DestroyWindow(MainThread().handles.mainWindow); });
    CHECK(!IsWindow(main));
    CHECK(FindWindowW(L"CustomDialog", nullptr) == nullptr);
    CHECK(TakePendingQuit() == 0);
}

void TestDestroyMessageSentToTheMainWindowWhileTheNoticeIsUp() {
    const HWND main = CreateTestMainWindow();
    ShowWithAction([](HWND) { SendMessageW(MainThread().handles.mainWindow, WM_DESTROY, 0, 0); });
    CHECK(FindWindowW(L"CustomDialog", nullptr) == nullptr);
    CHECK(TakePendingQuit() == 0);
    DestroyWindow(main);
    TakePendingQuit();
}

void TestInactivityClosesOnceWithTheNotice() {
    const HWND main = CreateTestMainWindow();
    MainThreadState& mainThread = MainThread();
    mainThread.inactivitySeconds = 0;
    mainThread.inactivityCloseFired = false;
    mainThread.handles.timerIds[kTimerTimeLeft] = SetTimer(nullptr, 15, 100000, TimeLeftTimerProc);
    gSeen = Seen{};
    gAction = [](HWND notice) { PostMessageW(notice, WM_COMMAND, 1, 0); };
    SetTimer(nullptr, 0, 50, ActOnNotice);
    TimeLeftTimerProc(nullptr, WM_TIMER, 0, 0);
    CHECK(gSeen.notices == 1);
    CHECK(!gSeen.mainEnabled);
    CHECK(gSeen.text ==
          L"Le d\u00e9lais d'utilisation sans activit\u00e9 est termin\u00e9\nLe superviseur va maintenant "
          L"fermer\nautomatiquement votre application\ndans 20 secondes");
    CHECK(!IsWindow(main));
    CHECK(TakePendingQuit() == 0);
    CHECK(mainThread.inactivitySeconds == 0);
    CHECK(!KillTimer(nullptr, mainThread.handles.timerIds[kTimerTimeLeft])); // already killed

    // A later tick, had one been queued, shows nothing more.
    const HWND second = CreateTestMainWindow();
    const int noticesBefore = gSeen.notices;
    const UINT_PTR watcher = SetTimer(nullptr, 0, 50, ActOnNotice);
    TimeLeftTimerProc(nullptr, WM_TIMER, 0, 0);
    KillTimer(nullptr, watcher);
    CHECK(gSeen.notices == noticesBefore);
    CHECK(IsWindow(second));
    DestroyWindow(second);
    TakePendingQuit();
}

// Pixels of colour `colour` in the rectangle (x, y, width, height).
int CountPixels(HDC dc, int x, int y, int width, int height, COLORREF colour) {
    int count = 0;
    for (int row = y; row < y + height; ++row) {
        for (int column = x; column < x + width; ++column) {
            count += GetPixel(dc, column, row) == colour ? 1 : 0;
        }
    }
    return count;
}

void TestTimeLeftDisplay() {
    constexpr COLORREF kBackground = RGB(30, 60, 90);
    constexpr COLORREF kFill = RGB(1, 2, 3);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 550;
    info.bmiHeader.biHeight = -730;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(dc, canvas);
    const HBRUSH fill = CreateSolidBrush(kFill);
    const RECT all{0, 0, 550, 730};
    FillRect(dc, &all, fill);
    DeleteObject(fill);

    DrawTimeLeft(dc, "01:14:59", kBackground);
    CHECK(GetPixel(dc, 455, 270) == kBackground); // the opaque text cell starts at the zone's corner
    CHECK(GetPixel(dc, 454, 270) == kFill);
    CHECK(GetPixel(dc, 455, 269) == kFill);
    CHECK(CountPixels(dc, 455, 270, 55, 15, RGB(255, 255, 0)) > 10); // yellow digits
    CHECK(GetPixel(dc, 455, 293) == kBackground);
    CHECK(CountPixels(dc, 455, 293, 80, 14, RGB(255, 255, 255)) > 10); // white label letters

    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
}

} // namespace

int main() {
    TestDismissedNoticeLeavesNoQuitBehind();
    TestQuitForTheOuterLoopIsPassedOn();
    TestMainWindowDestroyedWhileTheNoticeIsUp();
    TestDestroyMessageSentToTheMainWindowWhileTheNoticeIsUp();
    TestInactivityClosesOnceWithTheNotice();
    TestTimeLeftDisplay();
    return CheckSummary("app_notice_test");
}
