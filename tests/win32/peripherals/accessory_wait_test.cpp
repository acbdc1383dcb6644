// The accessory thread's wait between searches: a device arrival or shutdown ends it at once, anything else
// does not; shutdown ends the running thread without waiting out the fallback search time.
#include "../check.h"
#include "peripherals/win32/accessory_thread.h"
#include "peripherals/win32/device_notices.h"
#include "peripherals/win32/usb_icon_win32.h"
#include "peripherals/accessory_handshake.h"
#include "session/push_to_talk.h"

#include <windows.h>

#include <dbt.h>

namespace {

constexpr DWORD kLongWaitMs = 60000;

HWND NoticeWindow() {
    return FindWindowExW(HWND_MESSAGE, nullptr, L"ZelvoraDeviceNotices", nullptr);
}

DWORD WaitTime(DeviceNotices& notices, HANDLE stop, DWORD milliseconds) {
    const ULONGLONG start = GetTickCount64();
    notices.Wait(stop, milliseconds);
    return static_cast<DWORD>(GetTickCount64() - start);
}

// The system sends device notices (their parameter points at the device's description): never posted.
DWORD WINAPI SendArrival(LPVOID window) {
    SendMessageW(static_cast<HWND>(window), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
    return 0;
}

DWORD WINAPI SendRemoval(LPVOID window) {
    SendMessageW(static_cast<HWND>(window), WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0);
    return 0;
}

DWORD WINAPI SetStop(LPVOID stop) {
    SetEvent(static_cast<HANDLE>(stop));
    return 0;
}

void RunOnOtherThread(LPTHREAD_START_ROUTINE routine, void* parameter) {
    if (HANDLE thread = CreateThread(nullptr, 0, routine, parameter, 0, nullptr)) {
        CloseHandle(thread);
    }
}

void ArrivalsAndStopEndTheWaitAndNothingElseDoes() {
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DeviceNotices notices;
    const HWND window = NoticeWindow();
    CHECK(window != nullptr);

    // Announced while the thread searched or probed: the notice waits for the thread.
    RunOnOtherThread(SendArrival, window);
    while ((HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) == 0) {
        Sleep(10);
    }
    CHECK(WaitTime(notices, stop, kLongWaitMs) < kLongWaitMs / 2);

    // Announced while the wait runs.
    RunOnOtherThread(SendArrival, window);
    CHECK(WaitTime(notices, stop, kLongWaitMs) < kLongWaitMs / 2);

    // A removal is no reason to search: the wait runs its course.
    RunOnOtherThread(SendRemoval, window);
    CHECK(WaitTime(notices, stop, 300) >= 250);

    RunOnOtherThread(SetStop, stop);
    CHECK(WaitTime(notices, stop, kLongWaitMs) < kLongWaitMs / 2);
    CloseHandle(stop);
}

void ShutdownEndsTheThreadWithoutWaitingForTheNextSearch() {
    static AccessoryRunFlags run;
    static PushToTalk pushToTalk;
    static UsbIconView usbIcon;
    static AccessoryWiring wiring{run, pushToTalk, usbIcon};
    HANDLE thread = CreateThread(nullptr, 0, AccessoryThread, &wiring, 0, nullptr);
    CHECK(thread != nullptr);
    // No adapter here: once running, the thread searches once and waits for a notice.
    while (!run.serialRunning.load()) {
        Sleep(10);
    }
    const ULONGLONG start = GetTickCount64();
    StopAccessoryThread(thread, run);
    CHECK(GetTickCount64() - start < 4000);
    CHECK(WaitForSingleObject(thread, 0) == WAIT_OBJECT_0);
    CloseHandle(thread);
}

} // namespace

int main() {
    ArrivalsAndStopEndTheWaitAndNothingElseDoes();
    ShutdownEndsTheThreadWithoutWaitingForTheNextSearch();
    return CheckSummary("peripherals_accessory_wait_test");
}
