// The web service's handlers against a private in-memory database.

#include "core/service_routes.h"
#include "core/upload_records.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace zelvora::web;

namespace {

const std::string kPng = [] {
    std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x10\0\0\0\x10\x08\x06\0\0\0", 29);
    return png + std::string(16, 'x');
}();

using Answer = WebResponse;

class WebRoutesTest : public testing::Test {
  protected:
    Answer Get(std::string_view path, std::vector<std::pair<std::string, std::string>> query = {}) {
        return Send("GET", path, std::move(query), {});
    }
    Answer Post(std::string_view path, std::string_view body) { return Send("POST", path, {}, body); }
    Answer Identify(std::string pcId) {
        return Get("/Rb8Wd3Qy6N.php",
                   {{"S", "2"}, {"I", pcId}, {"V", "VELMARC 0.7.7"}, {"A", ""}, {"F", ""}});
    }
    static std::string AccountOf(const Answer& reply) { return reply.body.substr(34, 5); }

    AccountStore store{":memory:"};
    RegistrationQuota registrations;
    std::string source = "192.0.2.1";
    RegistrationQuota::Clock::time_point now{};

  private:
    Answer Send(std::string_view method, std::string_view path,
                std::vector<std::pair<std::string, std::string>> query, std::string_view body) {
        return HandleWebRequest(store, registrations, {method, path, std::move(query), body, source, now});
    }
};

std::string Le32(std::int32_t value) {
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

std::string ColourRecord(std::int32_t red, std::int32_t green, std::int32_t blue, std::int32_t account) {
    return Le32(1) + Le32(red) + Le32(green) + Le32(blue) + Le32(account);
}

std::string UploadRecord(std::string_view file, std::string_view name, std::int32_t channel) {
    std::string record(kUploadRecordBytes, '\0');
    record.replace(0, file.size(), file);
    record.replace(kUploadDataBytes, name.size(), name);
    record.replace(kUploadDataBytes + kUploadNameBytes, 12,
                   Le32(static_cast<std::int32_t>(file.size())) +
                       Le32(static_cast<std::int32_t>(name.size())) + Le32(channel));
    return record;
}

TEST_F(WebRoutesTest, IdentificationRegistersAPcOnceAndAnswersItsNumberAtOffset34) {
    const Answer first = Identify("0000000305441741");
    ASSERT_EQ(first.status, 200);
    ASSERT_GE(first.body.size(), 39u);
    EXPECT_EQ(AccountOf(first), "01000");
    EXPECT_EQ(AccountOf(Identify("0000000305441741")), "01000");
    EXPECT_EQ(AccountOf(Identify("9999999999999999")), "01001");
    // The new account has details and a colour, so its first start-up shows no missing-parameters box.
    EXPECT_EQ(Get("/users/1000/client.xml").status, 200);
    EXPECT_EQ(Get("/users/1000/params.xml").status, 200);
}

TEST_F(WebRoutesTest, NewPcsBeyondTheQuotaAre429WithTheWaitWhileKnownPcsAreAlwaysAnswered) {
    const auto pcId = [](int i) { return std::to_string(1000000000000000 + i); };
    for (int i = 0; i < RegistrationQuota::kPerSource; ++i) {
        ASSERT_EQ(Identify(pcId(i)).status, 200);
    }
    const Answer refused = Identify(pcId(99));
    EXPECT_EQ(refused.status, 429);
    EXPECT_EQ(refused.headers, (decltype(refused.headers){{"Retry-After", "60"}}));
    EXPECT_NE(refused.body.find("try again in 60 s"), std::string::npos) << refused.body;
    EXPECT_EQ(AccountOf(Identify(pcId(0))), "01000");
    // The refused PC got no number: the next one registered takes the next free one.
    now += RegistrationQuota::kWindow;
    EXPECT_EQ(AccountOf(Identify(pcId(99))), "0100" + std::to_string(RegistrationQuota::kPerSource));
}

TEST_F(WebRoutesTest, MalformedIdentificationIsRefusedAndRegistersNothing) {
    EXPECT_EQ(Identify("000000030544174").status, 400);
    EXPECT_EQ(Identify("00000003054417410").status, 400);
    EXPECT_EQ(Identify("00000003054417x1").status, 400);
    EXPECT_EQ(Get("/Rb8Wd3Qy6N.php", {{"S", "1"}, {"I", "0000000305441741"}}).status, 400);
    EXPECT_EQ(
        Get("/Rb8Wd3Qy6N.php", {{"S", "2"}, {"I", "0000000305441741"}, {"I", "0000000305441742"}}).status,
        400);
    EXPECT_EQ(AccountOf(Identify("0000000305441741")), "01000");
}

TEST_F(WebRoutesTest, UnknownAccountsAre404AndMalformedNumbers400) {
    for (const char* path : {"/users/4242/client.xml", "/users/4242/params.xml"}) {
        EXPECT_EQ(Get(path).status, 404) << path;
    }
    EXPECT_EQ(Get("/users/4242/images.php", {{"N", "2"}}).status, 404);
    EXPECT_EQ(Get("/users/images.php", {{"F", "4242"}, {"N", "1"}}).status, 404);
    for (const char* path : {"/users/0/client.xml", "/users/01000/client.xml", "/users/65536/client.xml",
                             "/users/-1/params.xml", "/users/1e3/params.xml"}) {
        EXPECT_EQ(Get(path).status, 400) << path;
    }
    EXPECT_EQ(Get("/users/1000/other.xml").status, 404);
}

TEST_F(WebRoutesTest, ClientXmlCarriesEveryTagWithEacuteAsTheEntityTheClientDecodes) {
    Account account;
    account.number = 7;
    account.details.texts = {"Amélie", "Besançon", "Bonjour", "lundi", "a@b.fr", "amelie"};
    store.PutAccount(account);
    const Answer reply = Get("/users/7/client.xml");
    ASSERT_EQ(reply.status, 200);
    EXPECT_NE(reply.body.find("<PRENOM>Am&#xE9;lie</PRENOM>"), std::string::npos);
    EXPECT_NE(reply.body.find("<VILLE>Besan\xC3\xA7on</VILLE>"), std::string::npos);
    EXPECT_NE(reply.body.find("<FOLDER>amelie</FOLDER>"), std::string::npos);
    // No colour set yet: no parameters, so the client keeps its own and says so.
    EXPECT_EQ(Get("/users/7/params.xml").status, 404);
}

TEST_F(WebRoutesTest, ColourUploadIsReadBackAsTheColorrefInHexadecimal) {
    Identify("0000000305441741");
    ASSERT_EQ(Post("/users/params.php", ColourRecord(0, 128, 255, 1000)).status, 200);
    const Answer params = Get("/users/1000/params.xml");
    EXPECT_NE(params.body.find("<BACKGROUND>FF8000</BACKGROUND>"), std::string::npos) << params.body;
    EXPECT_EQ(Post("/users/params.php", ColourRecord(0, 0, 255, 4242)).status, 404);
}

TEST_F(WebRoutesTest, MalformedColourRecordsAre400AndChangeNothing) {
    Identify("0000000305441741");
    const std::string good = ColourRecord(1, 2, 3, 1000);
    std::string wrongKind = good;
    wrongKind[0] = 2;
    for (const std::string& record :
         {good.substr(0, 19), good + "x", wrongKind, ColourRecord(256, 0, 0, 1000),
          ColourRecord(0, -1, 0, 1000), ColourRecord(0, 0, 0, 0), ColourRecord(0, 0, 0, 65536)}) {
        EXPECT_EQ(Post("/users/params.php", record).status, 400);
    }
    EXPECT_NE(Get("/users/1000/params.xml").body.find("<BACKGROUND>5A3C28</BACKGROUND>"), std::string::npos);
}

TEST_F(WebRoutesTest, SharedImageUploadIsServedForItsChannel) {
    ASSERT_EQ(Post("/echange/pc_img_share_post.php", UploadRecord(kPng, "a.png", 4)).status, 200);
    const Answer image = Get("/echange/pc_img_share_get.php", {{"F", "4"}, {"N", "1"}});
    EXPECT_EQ(image.status, 200);
    EXPECT_EQ(image.body, kPng);
    EXPECT_EQ(Get("/echange/pc_img_share_get.php", {{"F", "5"}, {"N", "1"}}).status, 404);
    EXPECT_EQ(Get("/echange/pc_img_share_get.php", {{"F", "11"}, {"N", "1"}}).status, 400);
}

TEST_F(WebRoutesTest, MalformedUploadsAre400AndStoreNothing) {
    std::string unterminatedName = UploadRecord(kPng, "a.png", 4);
    unterminatedName[kUploadDataBytes + kUploadNameBytes - 1] = 'x';
    const std::string records[] = {
        UploadRecord(kPng, "a.png", 4).substr(1),
        UploadRecord(kPng, "a.png", 11),
        UploadRecord(kPng, "a.png", -1),
        UploadRecord("", "a.png", 4),
        UploadRecord("not a picture", "a.txt", 4),
        UploadRecord(std::string(kUploadDataBytes, 'x'), "a.png", 4),
        unterminatedName,
    };
    for (const std::string& record : records) {
        EXPECT_EQ(Post("/echange/pc_img_share_post.php", record).status, 400);
    }
    EXPECT_EQ(Get("/echange/pc_img_share_get.php", {{"F", "4"}, {"N", "1"}}).status, 404);
}

TEST_F(WebRoutesTest, UploadsOfPicturesTheClientWouldRefuseAre400AndStoreNothing) {
    std::string png = kPng; // 60,000 x 60,000
    png.replace(16, 8, "\0\0\xEA\x60\0\0\xEA\x60", 8);
    const std::string jpeg("\xFF\xD8\xFF\xC2\0\x11\x08\xEA\x60\xEA\x60\x03\x01\x11\0\x02\x11\0\x03\x11\0",
                           21);
    const std::string gif("GIF89a\xFF\xFF\xFF\xFF\0\0\0,\0\0\0\0\x01\0\x01\0\0\x02\x01\x44\0;", 28);
    std::string rleBmp("BM\0\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x20\x4E\0\0\x20\x4E\0\0\x01\0\x08\0\x01\0\0\0",
                       34);
    rleBmp.resize(1'080, '\0'); // 20,000 x 20,000 in 1,080 bytes
    for (const std::string& picture : {png, jpeg, gif, rleBmp, jpeg.substr(0, 12)}) {
        EXPECT_EQ(Post("/echange/pc_img_share_post.php", UploadRecord(picture, "p.jpg", 4)).status, 400);
    }
    EXPECT_EQ(Get("/echange/pc_img_share_get.php", {{"F", "4"}, {"N", "1"}}).status, 404);
}

TEST_F(WebRoutesTest, DoubledSlashesOfTheClientsPathsAreOne) {
    store.PutAccount(Account{12, {}, std::nullopt});
    store.SetPicture(12, kPng);
    store.SetAccessoryIcon("red", kPng);
    EXPECT_EQ(Get("/users//images.php", {{"F", "12"}, {"N", "1"}}).body, kPng);
    EXPECT_EQ(Get("/users/12/images.php", {{"N", "2"}}).body, kPng);
    EXPECT_EQ(Get("/usb//usb_red.png").body, kPng);
    EXPECT_EQ(Get("/usb//usb_green.png").status, 404);
    EXPECT_EQ(Get("/users//images.php", {{"F", "12"}}).status, 400);
    EXPECT_EQ(Get("/users/12/images.php", {{"N", "1"}}).status, 400);
}

TEST_F(WebRoutesTest, KnownPathWithTheOtherMethodIs405) {
    EXPECT_EQ(Get("/users/params.php").status, 405);
    EXPECT_EQ(Post("/users/1000/client.xml", "").status, 405);
    EXPECT_EQ(Post("/nowhere", "").status, 404);
}

} // namespace
