// The real zelvora-web over TLS on free ports: the client's exact request forms reach the handlers.

#include "running_web_service.h"

#include <httplib.h>

#include <gtest/gtest.h>

namespace {

TEST(WebServiceOverTls, AnswersTheClientsExactRequestsWithACertificateFromTheLocalAuthority) {
    RunningWebService service;
    ASSERT_NE(service.httpsPort, 0) << "the service did not announce its ports";
    httplib::SSLClient client("localhost", service.httpsPort);
    client.set_ca_cert_path(ZELVORA_WEB_TEST_CA "/ca.pem");
    client.enable_server_certificate_verification(true);

    // The identification target exactly as WinHTTP sends it, its space escaped.
    const auto identified = client.Get("/Rb8Wd3Qy6N.php?S=2&I=0000000305441741&V=VELMARC%200.7.7&A=&F=");
    ASSERT_TRUE(identified) << httplib::to_string(identified.error());
    EXPECT_EQ(identified->status, 200);
    EXPECT_EQ(identified->body.substr(34, 5), "01000");

    // The colour upload as WinHTTP sends it: "multipart/form-data" without a boundary, a raw body.
    const std::string colour("\1\0\0\0\0\0\0\0\x80\0\0\0\xFF\0\0\0\xE8\3\0\0", 20);
    const auto posted = client.Post("/users/params.php", colour, "multipart/form-data");
    ASSERT_TRUE(posted);
    EXPECT_EQ(posted->status, 200);
    const auto params = client.Get("/users/1000/params.xml");
    ASSERT_TRUE(params);
    EXPECT_NE(params->body.find("<BACKGROUND>FF8000</BACKGROUND>"), std::string::npos);

    // Anything beyond the upload record's size is refused before it is read whole.
    const auto oversized =
        client.Post("/echange/pc_img_share_post.php", std::string(10'000'269, 'x'), "multipart/form-data");
    ASSERT_TRUE(oversized);
    EXPECT_EQ(oversized->status, 413);

    // Test bodies exactly as stored; nothing outside their folder.
    EXPECT_EQ(client.Get("/fixtures/five")->body, "12345");
    const auto empty = client.Get("/fixtures/empty");
    EXPECT_EQ(empty->status, 200);
    EXPECT_EQ(empty->body, "");
    EXPECT_EQ(client.Get("/fixtures/missing")->status, 404);
    EXPECT_EQ(client.Get("/fixtures/..%2Fweb-tls-" + std::to_string(getpid()) + ".sqlite")->status, 404);

    httplib::Client site("127.0.0.1", service.sitePort);
    const auto page = site.Get("/FR-Zelvora.php");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    // Started without a setup program, its installer page has nothing to download.
    EXPECT_EQ(site.Get("/installer.php")->status, 404);
}

} // namespace
