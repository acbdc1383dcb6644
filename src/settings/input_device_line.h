#pragma once

#include "audio/input_devices.h"

#include <cstddef>
#include <span>

// The parameters window's first line, naming the input device the next talk opens: "Default" for the
// system's default device, else the device number. The number's form ends in ten blanks, which cover the
// end of a longer line drawn before it.
inline constexpr std::size_t kInputLineBytes = 64;
void FormatInputDeviceLine(std::span<char, kInputLineBytes> line, int selectedDevice);

// Position of the capture endpoint that describes the selected device, or kNoEndpoint when the selection
// is not a slot number or its slot has no endpoint.
int SelectedEndpointPosition(std::span<const InputDeviceSlot, kInputDeviceSlots> slots, int selectedDevice);
