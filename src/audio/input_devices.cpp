#include "audio/input_devices.h"

#include <algorithm>
#include <cstring>

namespace {

// Copies as much of the text as fits without cutting a UTF-8 sequence, always terminated.
template <std::size_t N> void CopyText(char (&destination)[N], std::string_view text) {
    std::size_t length = std::min(text.size(), N - 1);
    while (length > 0 && length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        --length;
    }
    std::memcpy(destination, text.data(), length);
    destination[length] = '\0';
}

} // namespace

int MatchingEndpoint(std::string_view waveInName, std::span<const CaptureEndpoint> endpoints) {
    if (waveInName.empty()) {
        return kNoEndpoint;
    }
    const std::size_t count = std::min<std::size_t>(endpoints.size(), kInputDeviceSlots);
    for (std::size_t position = 0; position < count; ++position) {
        const std::string_view name = endpoints[position].name;
        const std::size_t shorter = std::min(name.size(), waveInName.size());
        if (!name.empty() && name.substr(0, shorter) == waveInName.substr(0, shorter)) {
            return static_cast<int>(position);
        }
    }
    return kNoEndpoint;
}

void FillInputDeviceSlots(std::span<const std::string> waveInNames,
                          std::span<const CaptureEndpoint> endpoints,
                          std::span<InputDeviceSlot, kInputDeviceSlots> slots) {
    for (std::size_t device = 0; device < slots.size(); ++device) {
        InputDeviceSlot& slot = slots[device];
        if (device >= waveInNames.size()) {
            slot = InputDeviceSlot{};
            continue;
        }
        slot.waveInDevice = static_cast<int>(device);
        CopyText(slot.waveInName, waveInNames[device]);
        slot.endpointPosition = MatchingEndpoint(waveInNames[device], endpoints);
        if (slot.endpointPosition == kNoEndpoint) {
            CopyText(slot.buttonText, kEndpointNotFound);
        } else {
            const CaptureEndpoint& endpoint = endpoints[static_cast<std::size_t>(slot.endpointPosition)];
            CopyText(slot.buttonText, endpoint.name);
            CopyText(slot.iconLocation, endpoint.iconLocation);
        }
    }
}

int ChosenInputDevice(std::span<const InputDeviceSlot, kInputDeviceSlots> slots, unsigned button,
                      int currentDevice) {
    return button < slots.size() ? slots[button].waveInDevice : currentDevice;
}
