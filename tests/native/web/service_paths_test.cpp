#include "session/led_colour.h"
#include "web/request_blinker.h"
#include "web/service_paths.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ServicePath(const char* base, int number, int kind) {
    char path[kServicePathCapacity];
    BuildServicePath(path, number, kind, base);
    return path;
}

std::string AccountPath(std::uint32_t number, AccountFetchKind kind) {
    char path[kServicePathCapacity];
    BuildAccountPath(path, number, kind, "0000000305441741", "0.7.7");
    return path;
}

TEST(ServicePath, FollowsTheServicesSchemeWithItsDoubledSlashes) {
    struct Case {
        const char* base;
        int number;
        int kind;
        const char* path;
    };
    const Case cases[] = {
        {"/users/", 1234, 1, "/users//images.php?F=1234&N=1"},
        {"/echange/", 3, 1, "/echange/pc_img_share_get.php?F=3&N=1"},
        {"/echange/", 3, 2, "/echange/pc_img_share_get.php?F=3&N=2"},
        {"/echange/", 3, 3, "/echange/pc_img_share_post.php"},
        {"/echange/", 10, 7, "/echange/pc_img_share_get.php?F=10&N=1"},
        {"/usb/", 99, 1, "/usb//usb_black.png"},
        {"/usb/", 99, 2, "/usb//usb_green.png"},
        {"/usb/", 99, 3, "/usb//usb_red.png"},
        {"/usb/", 99, 4, "/usb/"},
        {"/users", 1234, 1, "/users"}, // only the exact base is known
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ServicePath(c.base, c.number, c.kind), c.path) << c.base << " " << c.kind;
    }
}

TEST(ServicePath, IsCutToItsCapacity) {
    const std::string longBase(300, 'x');
    const std::string path = ServicePath(longBase.c_str(), 1, 1);
    EXPECT_EQ(path, longBase.substr(0, kServicePathCapacity - 1));
}

TEST(AccountPath, NamesTheAccountOrTheComputer) {
    EXPECT_EQ(AccountPath(4242, AccountFetchKind::SpeakerPicture), "/users/4242/images.php?N=2");
    EXPECT_EQ(AccountPath(4242, AccountFetchKind::SpeakerDetails), "/users/4242/client.xml");
    EXPECT_EQ(AccountPath(4242, AccountFetchKind::OwnDetails), "/users/4242/client.xml");
    EXPECT_EQ(AccountPath(4242, AccountFetchKind::DisplayParameters), "/users/4242/params.xml");
    EXPECT_EQ(AccountPath(4242, AccountFetchKind::Identification),
              "/Rb8Wd3Qy6N.php?S=2&I=0000000305441741&V=VELMARC 0.7.7&A=&F=");
}

TEST(RequestBlinker, ShowsFourGreenThenFourBlueAndAgain) {
    RequestBlinker blinker;
    std::string colours;
    for (int request = 0; request < 9; ++request) {
        const LedColour colour = blinker.Next();
        colours += colour == kLedGreen ? 'G' : colour == kLedBlue ? 'B' : '?';
    }
    EXPECT_EQ(colours, "GGGGBBBBG");
}

} // namespace
