#pragma once

#include "session/user_texts.h"

#include <algorithm>
#include <iterator>
#include <span>
#include <string>
#include <string_view>

// The capture devices the user can pick from: one slot per waveIn device, linked by name to the system's
// capture endpoint that describes it. Texts are UTF-8.

inline constexpr int kInputDeviceSlots = 15;
inline constexpr int kDefaultInputDevice = -1; // the system's default capture device
inline constexpr int kNoEndpoint = -1;
inline constexpr int kDeviceNameBytes = 768;   // 256 wide characters
inline constexpr int kIconLocationBytes = 780; // 260 wide characters

struct InputDeviceSlot {
    int waveInDevice = kDefaultInputDevice;
    int endpointPosition = kNoEndpoint;
    char iconLocation[kIconLocationBytes] = {};
    char buttonText[kDeviceNameBytes] = {};
    char waveInName[kDeviceNameBytes] = {};

    // An unused slot stands for the default device, under the driver's generic name.
    constexpr InputDeviceSlot() {
        std::copy(std::begin(kWindowsDriver), std::end(kWindowsDriver), buttonText);
        std::copy(std::begin(kWindowsDriver), std::end(kWindowsDriver), waveInName);
    }
};

struct CaptureEndpoint {
    std::string name;
    std::string iconLocation;
};

// Position of the first endpoint whose name agrees with the waveIn name over the shorter of the two
// (drivers often cut waveIn names to 31 characters), or kNoEndpoint. An empty name agrees with nothing.
int MatchingEndpoint(std::string_view waveInName, std::span<const CaptureEndpoint> endpoints);

// Fills one slot per waveIn device, in device order, and links each to its endpoint; the slots left over
// go back to the default device, so a device unplugged since the last filling cannot be chosen.
void FillInputDeviceSlots(std::span<const std::string> waveInNames,
                          std::span<const CaptureEndpoint> endpoints,
                          std::span<InputDeviceSlot, kInputDeviceSlots> slots);

// The waveIn device that choosing button `button` selects; other controls keep the current choice.
int ChosenInputDevice(std::span<const InputDeviceSlot, kInputDeviceSlots> slots, unsigned button,
                      int currentDevice);
