#include "peripherals/win32/accessory_thread.h"

#include "peripherals/accessory_handshake.h"
#include "session/push_to_talk.h"
#include "peripherals/accessory_loop.h"
#include "peripherals/win32/device_notices.h"
#include "peripherals/win32/serial_port_win32.h"
#include "peripherals/win32/usb_icon_win32.h"

namespace {

// Set once by shutdown; ends the thread's wait for a device at once. Made by whichever side comes first.
HANDLE StopRequested() {
    static const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return event;
}

class Win32AccessorySystem : public AccessorySystem {
  public:
    explicit Win32AccessorySystem(AccessoryWiring& wiring) : wiring_(wiring) {}
    bool KeepRunning() override { return AccessoryShouldKeepRunning(wiring_.run); }
    bool FindAdapterPort(std::span<char, kPortNameBytes> portName) override {
        return FindSupportedAdapterPort(portName);
    }
    std::unique_ptr<SerialPort> OpenPort(const char* portName) override {
        return OpenAccessoryPort(portName);
    }
    void Pause(int milliseconds) override { Sleep(static_cast<DWORD>(milliseconds)); }
    void WaitForDeviceNotice(int milliseconds) override {
        notices_.Wait(StopRequested(), static_cast<DWORD>(milliseconds));
    }
    void SetIconState(int state) override { SetUsbIconState(wiring_.usbIcon, state); }
    void SetKeyPressed(bool pressed) override {
        wiring_.pushToTalk.SetAccessoryState(pressed ? kPttTalk : kPttListen);
    }

  private:
    AccessoryWiring& wiring_;
    DeviceNotices notices_;
};

} // namespace

DWORD WINAPI AccessoryThread(LPVOID parameter) {
    AccessoryWiring& wiring = *static_cast<AccessoryWiring*>(parameter);
    if (!BeginAccessoryRun(wiring.run)) {
        return 0;
    }
    Win32AccessorySystem system(wiring);
    RunAccessoryLoop(system);
    return 0;
}

void StopAccessoryThread(HANDLE thread, AccessoryRunFlags& run) {
    RequestAccessoryStop(run);
    SetEvent(StopRequested());
    WaitForSingleObject(thread, INFINITE);
}
