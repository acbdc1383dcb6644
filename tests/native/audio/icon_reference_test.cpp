#include "audio/icon_reference.h"

#include <gtest/gtest.h>

TEST(IconReference, PathCommaIndex) {
    const IconReference icon = ParseIconReference("%windir%\\system32\\mmres.dll,-3004");
    EXPECT_EQ(icon.location, "%windir%\\system32\\mmres.dll");
    EXPECT_EQ(icon.index, -3004);
    EXPECT_TRUE(icon.hasIndex);

    const IconReference twoCommas = ParseIconReference("a.dll,7,8");
    EXPECT_EQ(twoCommas.location, "a.dll");
    EXPECT_EQ(twoCommas.index, 7);
}

TEST(IconReference, OddIndexes) {
    const IconReference noComma = ParseIconReference("C:\\icons\\mic.ico");
    EXPECT_EQ(noComma.location, "C:\\icons\\mic.ico");
    EXPECT_EQ(noComma.index, 0);
    EXPECT_FALSE(noComma.hasIndex);

    EXPECT_EQ(ParseIconReference("x,1234567890").index, 123456789); // nine characters at most
    EXPECT_EQ(ParseIconReference("x,abc").index, 0);
    EXPECT_EQ(ParseIconReference("x,").index, 0);
    EXPECT_EQ(ParseIconReference("x, 12").index, 12);
}
