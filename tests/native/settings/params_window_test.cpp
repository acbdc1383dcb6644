#include "settings/colour_record.h"
#include "settings/input_device_line.h"
#include "settings/opening_animation.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

TEST(ColourRecord, CarriesOneTheComponentsAndTheAccountLittleEndian) {
    const std::uint32_t pureBlue = 0x00FF0000;
    EXPECT_EQ(BuildColourRecord(pureBlue, 0x1234),
              (ColourRecord{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0x34, 0x12, 0, 0}));
    // The byte above blue in a COLORREF is not a component.
    EXPECT_EQ(BuildColourRecord(0xAB0080FF, 65535),
              (ColourRecord{1, 0, 0, 0, 0xFF, 0, 0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0}));
}

TEST(ParamsTexts, NameTheDeviceAndTheColour) {
    struct Case {
        int selectedDevice;
        std::uint32_t colour;
        const char* inputLine;
        const char* colourText;
    };
    const Case cases[] = {
        {-1, 0x00FF0000, "INPUT DEVICE (Default)", "0.0.255"},
        {2, 0x000080FF, "INPUT DEVICE (2)          ", "255.128.0"},
    };
    for (const Case& c : cases) {
        std::array<char, kInputLineBytes> line{};
        FormatInputDeviceLine(line, c.selectedDevice);
        EXPECT_EQ(std::string(line.data()), c.inputLine);
        std::array<char, kColourTextBytes> colour{};
        FormatColourText(colour, c.colour);
        EXPECT_EQ(std::string(colour.data()), c.colourText);
    }
}

TEST(OpeningAnimation, GrowsASquareUpLeftThenStretchesDownToItsPlaceLeftOfTheMainWindow) {
    const int left = 700;
    const int top = 100;
    EXPECT_EQ(CreationFrame(left, top), (WindowFrame{500, 300, 10, 10}));
    const auto frames = OpeningFrames(left, top);
    EXPECT_EQ(frames[0], (WindowFrame{700, 300, 0, 0}));
    EXPECT_EQ(frames[1], (WindowFrame{690, 290, 10, 10}));
    EXPECT_EQ(frames[20], (WindowFrame{500, 100, 200, 200}));
    EXPECT_EQ(frames[22], (WindowFrame{500, 100, 200, 210}));
    EXPECT_EQ(frames.back(), (WindowFrame{500, 100, 200, 450}));
}

TEST(SelectedEndpoint, IsTheSlotsEndpointOnlyForASlotNumber) {
    std::array<InputDeviceSlot, kInputDeviceSlots> slots{};
    slots[2].endpointPosition = 1;
    EXPECT_EQ(SelectedEndpointPosition(slots, 2), 1);
    for (int selection : {3, -1, -2, kInputDeviceSlots}) {
        EXPECT_EQ(SelectedEndpointPosition(slots, selection), kNoEndpoint) << selection;
    }
}

} // namespace
