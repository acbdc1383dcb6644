#include "app/pc_identifier.h"
#include "app/required_images.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(PcIdentifier, SixteenZeroPaddedDigits) {
    struct Case {
        std::uint32_t serial;
        const char* expected;
    } cases[] = {
        {0x1234ABCDu, "0000000305441741"},
        {0xFFFFFFFFu, "0000004294967295"},
        {0u, "0000000000000000"},
        {0x43000000u, "0000001124073472"},
    };
    for (const Case& c : cases) {
        char out[20];
        std::memset(out, 'x', sizeof out);
        FormatPcIdentifier(c.serial, out);
        EXPECT_STREQ(out, c.expected);
    }
}

TEST(PcIdentifier, FixedFallbacks) {
    char out[20];
    SetPcIdentifier(kPcIdentifierNoSystemDirectory, out);
    EXPECT_STREQ(out, "8888888888888888");
    SetPcIdentifier(kPcIdentifierNoVolumeInformation, out);
    EXPECT_STREQ(out, "9999999999999999");
}

TEST(RequiredImages, ChannelImagesAreNamedByTheirNumber) {
    char name[16];
    ChannelImageFileName(10, name);
    EXPECT_STREQ(name, "10.bmp");
    ChannelImageFileName(0, name);
    EXPECT_STREQ(name, "0.bmp");
}

} // namespace
