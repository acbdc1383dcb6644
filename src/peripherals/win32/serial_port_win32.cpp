#include "peripherals/win32/serial_port_win32.h"

#include "peripherals/usb_adapters.h"

#include <windows.h>

#include <setupapi.h>

#include <cstdio>
#include <string>

namespace {

// The device setup class of serial and parallel ports.
constexpr GUID kPortsClass = {0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
constexpr DWORD kHardwareIdBytes = 512;
constexpr DWORD kPortNameMaxBytes = kPortNameBytes - 1;

// A reply of 32 bytes takes at most 50 + 32 x 10 ms; writes wait as long as they need.
constexpr COMMTIMEOUTS kProbeTimeouts{50, 10, 50, 0, 0};

class DeviceList {
  public:
    DeviceList() : devices_(SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT)) {}
    ~DeviceList() {
        if (devices_ != INVALID_HANDLE_VALUE) {
            SetupDiDestroyDeviceInfoList(devices_);
        }
    }
    DeviceList(const DeviceList&) = delete;
    DeviceList& operator=(const DeviceList&) = delete;
    HDEVINFO get() const { return devices_; }

  private:
    HDEVINFO devices_;
};

bool IsSupportedDevice(HDEVINFO devices, SP_DEVINFO_DATA& device) {
    // The property is a list of strings; the first one is compared.
    char hardwareId[kHardwareIdBytes + 2] = {};
    return SetupDiGetDeviceRegistryPropertyA(devices, &device, SPDRP_HARDWAREID, nullptr,
                                             reinterpret_cast<BYTE*>(hardwareId), kHardwareIdBytes,
                                             nullptr) &&
           IsSupportedAdapter(hardwareId);
}

bool ReadPortName(HDEVINFO devices, SP_DEVINFO_DATA& device, std::span<char, kPortNameBytes> portName) {
    HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD type = 0;
    DWORD size = kPortNameMaxBytes;
    const LONG result =
        RegQueryValueExA(key, "PortName", nullptr, &type, reinterpret_cast<BYTE*>(portName.data()), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ) {
        return false;
    }
    portName[size < kPortNameMaxBytes ? size : kPortNameMaxBytes] = '\0';
    return portName[0] != '\0';
}

class Win32SerialPort : public SerialPort {
  public:
    explicit Win32SerialPort(HANDLE port) : port_(port) {}
    ~Win32SerialPort() override { CloseHandle(port_); }
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    bool Write(std::span<const std::uint8_t> bytes) override {
        DWORD written = 0;
        return WriteFile(port_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE;
    }
    int Read(std::span<std::uint8_t> bytes) override {
        DWORD received = 0;
        if (!ReadFile(port_, bytes.data(), static_cast<DWORD>(bytes.size()), &received, nullptr)) {
            return -1;
        }
        return static_cast<int>(received);
    }

  private:
    HANDLE port_;
};

bool ConfigurePort(HANDLE port) {
    DCB settings{};
    settings.DCBlength = sizeof settings;
    if (!GetCommState(port, &settings)) {
        return false;
    }
    settings.BaudRate = CBR_9600;
    settings.ByteSize = 8;
    settings.Parity = NOPARITY;
    settings.StopBits = ONESTOPBIT;
    if (!SetCommState(port, &settings)) {
        return false;
    }
    COMMTIMEOUTS timeouts = kProbeTimeouts;
    SetCommTimeouts(port, &timeouts);
    return true;
}

} // namespace

bool FindSupportedAdapterPort(std::span<char, kPortNameBytes> portName) {
    const DeviceList devices;
    if (devices.get() == INVALID_HANDLE_VALUE) {
        return false;
    }
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(devices.get(), index, &device); ++index) {
        if (IsSupportedDevice(devices.get(), device) && ReadPortName(devices.get(), device, portName)) {
            return true;
        }
    }
    return false;
}

std::unique_ptr<SerialPort> OpenAccessoryPort(const char* portName) {
    wchar_t path[kPortNameBytes + 8];
    if (std::swprintf(path, std::size(path), L"\\\\.\\%hs", portName) < 0) {
        return nullptr;
    }
    HANDLE port = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    if (!ConfigurePort(port)) {
        CloseHandle(port);
        return nullptr;
    }
    return std::make_unique<Win32SerialPort>(port);
}
