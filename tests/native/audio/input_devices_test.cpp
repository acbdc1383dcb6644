#include "audio/input_devices.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Slots = std::array<InputDeviceSlot, kInputDeviceSlots>;

const std::vector<CaptureEndpoint> kEndpoints = {
    {"Line In (USB Audio Device)", "C:\\usb.dll"},
    {"Microphone (Realtek High Definition Audio)", "C:\\mmres.dll"},
};

} // namespace

TEST(InputDevices, CutWaveInNamesFindTheirEndpoint) {
    Slots slots;
    const std::vector<std::string> waveIn = {"Microphone (Realtek High Defini", "Line In (USB Audio Device)",
                                             "Stereo Mix (Virtual)"};
    FillInputDeviceSlots(waveIn, kEndpoints, slots);

    EXPECT_EQ(slots[0].waveInDevice, 0);
    EXPECT_EQ(slots[0].endpointPosition, 1);
    EXPECT_STREQ(slots[0].buttonText, "Microphone (Realtek High Definition Audio)");
    EXPECT_STREQ(slots[0].iconLocation, "C:\\mmres.dll");
    EXPECT_STREQ(slots[0].waveInName, "Microphone (Realtek High Defini");
    EXPECT_EQ(slots[1].endpointPosition, 0);

    // No endpoint: the button says so and still selects the device.
    EXPECT_EQ(slots[2].endpointPosition, kNoEndpoint);
    EXPECT_STREQ(slots[2].buttonText, kEndpointNotFound);
    EXPECT_EQ(ChosenInputDevice(slots, 2, kDefaultInputDevice), 2);

    // An unused slot chooses the default device; a control that is no button changes nothing.
    EXPECT_STREQ(slots[3].buttonText, kWindowsDriver);
    EXPECT_EQ(ChosenInputDevice(slots, 3, 1), kDefaultInputDevice);
    EXPECT_EQ(ChosenInputDevice(slots, kInputDeviceSlots, 1), 1);
}

TEST(InputDevices, EmptyNamesMatchNothing) {
    const std::vector<CaptureEndpoint> unnamed = {{"", "C:\\x.dll"}, {"Mic", ""}};
    EXPECT_EQ(MatchingEndpoint("Mic", unnamed), 1);
    EXPECT_EQ(MatchingEndpoint("", unnamed), kNoEndpoint);
    EXPECT_EQ(MatchingEndpoint("Mic", {}), kNoEndpoint);
}

TEST(InputDevices, RefillingForgetsDevicesThatWentAway) {
    Slots slots;
    std::vector<std::string> many;
    for (int i = 0; i < kInputDeviceSlots + 2; ++i) {
        many.push_back("Device " + std::to_string(i));
    }
    FillInputDeviceSlots(many, kEndpoints, slots);
    EXPECT_EQ(slots[kInputDeviceSlots - 1].waveInDevice, kInputDeviceSlots - 1);

    FillInputDeviceSlots(std::vector<std::string>{"Line In"}, kEndpoints, slots);
    EXPECT_EQ(slots[0].endpointPosition, 0);
    EXPECT_EQ(slots[1].waveInDevice, kDefaultInputDevice);
    EXPECT_STREQ(slots[1].waveInName, kWindowsDriver);
}

TEST(InputDevices, LongNamesAreCutWhole) {
    Slots slots;
    std::string accents;
    for (int i = 0; i < kDeviceNameBytes; ++i) {
        accents += "\xC3\xA9";
    }
    FillInputDeviceSlots(std::vector<std::string>{accents}, std::vector<CaptureEndpoint>{{accents, ""}},
                         slots);
    const std::size_t kept = std::strlen(slots[0].buttonText);
    EXPECT_EQ(kept, kDeviceNameBytes - 2u); // 767 bytes would split a character
    EXPECT_EQ(std::strncmp(slots[0].buttonText, accents.c_str(), kept), 0);
}
