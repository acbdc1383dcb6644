#include "settings/input_device_line.h"

#include "session/user_texts.h"

#include <cstdio>

void FormatInputDeviceLine(std::span<char, kInputLineBytes> line, int selectedDevice) {
    if (selectedDevice == kDefaultInputDevice) {
        std::snprintf(line.data(), line.size(), "%s", kDefaultInputDeviceLine);
    } else {
        std::snprintf(line.data(), line.size(), kInputDeviceLineWithNumber,
                      static_cast<long>(selectedDevice));
    }
}

int SelectedEndpointPosition(std::span<const InputDeviceSlot, kInputDeviceSlots> slots, int selectedDevice) {
    if (selectedDevice < 0 || selectedDevice >= kInputDeviceSlots) {
        return kNoEndpoint;
    }
    return slots[static_cast<std::size_t>(selectedDevice)].endpointPosition;
}
