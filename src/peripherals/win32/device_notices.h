#pragma once

#include <windows.h>

// The system's notices of devices arriving, taken by a message-only window of the thread that makes this
// object: a plugged-in adapter is searched for at once instead of at the next fallback search.
class DeviceNotices {
  public:
    DeviceNotices();
    ~DeviceNotices();
    DeviceNotices(const DeviceNotices&) = delete;
    DeviceNotices& operator=(const DeviceNotices&) = delete;

    // Returns after `milliseconds`, when `stop` is set, or when a device has arrived since the last wait.
    // Call it from the thread that made the object.
    void Wait(HANDLE stop, DWORD milliseconds);

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Handles the waiting messages; true when one announced an arrival.
    bool TakeMessages();

    HWND window_ = nullptr;
    HDEVNOTIFY registration_ = nullptr;
    bool arrived_ = false;
};
