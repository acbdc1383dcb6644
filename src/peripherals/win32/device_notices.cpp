#include "peripherals/win32/device_notices.h"

#include <dbt.h>

namespace {

constexpr wchar_t kNoticeWindowClass[] = L"ZelvoraDeviceNotices";

} // namespace

DeviceNotices::DeviceNotices() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kNoticeWindowClass;
    // A second thread's registration fails as the class exists already; the window is made all the same.
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, kNoticeWindowClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                              nullptr);
    if (window_ == nullptr) {
        return;
    }
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Every interface class: an adapter's driver does not always announce a serial port interface.
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    registration_ = RegisterDeviceNotificationW(
        window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE | DEVICE_NOTIFY_ALL_INTERFACE_CLASSES);
}

DeviceNotices::~DeviceNotices() {
    if (registration_ != nullptr) {
        UnregisterDeviceNotification(registration_);
    }
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

LRESULT CALLBACK DeviceNotices::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DEVICECHANGE && wParam == DBT_DEVICEARRIVAL) {
        if (auto* notices = reinterpret_cast<DeviceNotices*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
            notices->arrived_ = true;
        }
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool DeviceNotices::TakeMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
    const bool arrived = arrived_;
    arrived_ = false;
    return arrived;
}

void DeviceNotices::Wait(HANDLE stop, DWORD milliseconds) {
    if (window_ == nullptr) {
        WaitForSingleObject(stop, milliseconds);
        return;
    }
    // An arrival announced while the thread probed or searched counts too.
    if (TakeMessages()) {
        return;
    }
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
        const DWORD woken =
            MsgWaitForMultipleObjects(1, &stop, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0 + 1 || TakeMessages()) {
            return;
        }
    }
}
