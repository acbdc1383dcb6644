#include "settings/input_device_line.h"

#include <cstdio>

void FormatInputDeviceLine(std::span<char, kInputLineBytes> line, int selectedDevice) {
    if (selectedDevice == kDefaultInputDevice) {
        std::snprintf(line.data(), line.size(), "INPUT DEVICE (%s)", "Default");
    } else {
        std::snprintf(line.data(), line.size(), "INPUT DEVICE (%ld)          ",
                      static_cast<long>(selectedDevice));
    }
}

int SelectedEndpointPosition(std::span<const InputDeviceSlot, kInputDeviceSlots> slots, int selectedDevice) {
    if (selectedDevice < 0 || selectedDevice >= kInputDeviceSlots) {
        return kNoEndpoint;
    }
    return slots[static_cast<std::size_t>(selectedDevice)].endpointPosition;
}
