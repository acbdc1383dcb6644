// The bounds the TLS front puts on every connection, with real sockets against the running service.

#include "running_web_service.h"

#include <httplib.h>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <sys/socket.h>

namespace {

using Clock = std::chrono::steady_clock;

class WebFrontTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(service.httpsPort, 0) << "the service did not announce its ports"; }
    void TearDown() override {
        for (const int fd : held) {
            close(fd);
        }
    }

    // A connection from a loopback address of its own, so that the per-source bound is the test's to use.
    int ConnectFrom(const std::string& source) {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        inet_pton(AF_INET, source.c_str(), &local.sin_addr);
        sockaddr_in remote{};
        remote.sin_family = AF_INET;
        remote.sin_port = htons(static_cast<std::uint16_t>(service.httpsPort));
        inet_pton(AF_INET, "127.0.0.1", &remote.sin_addr);
        EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local), 0) << source;
        EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote), 0) << source;
        held.push_back(fd);
        return fd;
    }

    // Whether the service closes the connection before the deadline; anything it sends first is read.
    static bool ClosedBefore(int fd, Clock::time_point deadline) {
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd readable{fd, POLLIN, 0};
            if (poll(&readable, 1, static_cast<int>(std::max<long long>(left.count(), 0))) <= 0) {
                return false;
            }
            char byte = 0;
            if (recv(fd, &byte, 1, 0) <= 0) {
                return true;
            }
        }
    }

    httplib::Result Get(const std::string& path, const httplib::Headers& headers = {}) {
        httplib::SSLClient client("localhost", service.httpsPort);
        client.set_ca_cert_path(ZELVORA_WEB_TEST_CA "/ca.pem");
        client.enable_server_certificate_verification(true);
        return client.Get(path.c_str(), headers);
    }

    RunningWebService service;
    std::vector<int> held;
};

TEST_F(WebFrontTest, SlowAndSilentConnectionsCostASocketNotAWorkerAndEndWithTheHandshakeTime) {
    // 200 connections from 20 addresses, within each one's share: half say nothing, half send the first
    // byte of a TLS hello and stop there.
    const auto opened = Clock::now();
    for (int i = 0; i < 200; ++i) {
        const int fd = ConnectFrom("127.0.1." + std::to_string(1 + i % 20));
        if (i % 2 == 1) {
            ASSERT_EQ(send(fd, "\x16", 1, MSG_NOSIGNAL), 1);
        }
    }
    const auto asked = Clock::now();
    const auto answer = Get("/fixtures/five");
    const auto answered = Clock::now();
    ASSERT_TRUE(answer) << httplib::to_string(answer.error());
    EXPECT_EQ(answer->body, "12345");
    EXPECT_LT(answered - asked, std::chrono::seconds(1));
    for (const int fd : held) {
        ASSERT_FALSE(ClosedBefore(fd, Clock::now())) << "a connection within the bounds was refused";
    }
    // Each is closed once its 10 s for the handshake and the request are over.
    for (const int fd : held) {
        EXPECT_TRUE(ClosedBefore(fd, opened + std::chrono::seconds(13)));
    }
    EXPECT_GE(Clock::now() - opened, std::chrono::seconds(9));
}

TEST_F(WebFrontTest, ConnectionsBeyondOneAddressesShareOrTheTotalAreClosedAtOnce) {
    const auto soon = [] { return Clock::now() + std::chrono::seconds(5); };
    for (int i = 0; i < 16; ++i) {
        ConnectFrom("127.0.2.1");
    }
    const int beyondOneAddress = ConnectFrom("127.0.2.1");
    EXPECT_TRUE(ClosedBefore(beyondOneAddress, soon()));
    // 16 open so far; 31 more addresses of 16 make the 512 allowed in all.
    for (int i = 0; i < 31 * 16; ++i) {
        ConnectFrom("127.0.3." + std::to_string(1 + i / 16));
    }
    const int beyondAll = ConnectFrom("127.0.4.1");
    EXPECT_TRUE(ClosedBefore(beyondAll, soon()));
    for (const int fd : held) {
        if (fd != beyondOneAddress && fd != beyondAll) {
            ASSERT_FALSE(ClosedBefore(fd, Clock::now())) << "a connection within the bounds was refused";
        }
    }
}

TEST_F(WebFrontTest, HeadersBodiesAndRangesBeyondTheirBoundsAreRefusedOrIgnored) {
    // A request's line and headers may take at most 33 KiB in all: 7 KiB of short lines pass, 60 KiB are
    // refused with 400, or cut off while they are still being sent.
    const auto withHeaders = [&](int lines) {
        httplib::Headers headers;
        for (int i = 0; i < lines; ++i) {
            headers.emplace("X-" + std::to_string(1000 + i), "12345");
        }
        const auto reply = Get("/fixtures/five", headers);
        return reply ? reply->status : -1;
    };
    EXPECT_EQ(withHeaders(500), 200);
    const int crowded = withHeaders(4000);
    EXPECT_TRUE(crowded == 400 || crowded == -1) << crowded;

    // A chunked body is cut off once it passes the upload record, not read whole: what goes out before the
    // cut is the record and what the sockets on the way hold.
    httplib::SSLClient client("localhost", service.httpsPort);
    client.set_ca_cert_path(ZELVORA_WEB_TEST_CA "/ca.pem");
    client.enable_server_certificate_verification(true);
    std::size_t sent = 0;
    const std::string block(1 << 20, 'x');
    const auto chunked = client.Post(
        "/echange/pc_img_share_post.php",
        [&](std::size_t, httplib::DataSink& sink) {
            if (sent == (64u << 20)) {
                sink.done();
                return true;
            }
            sent += block.size();
            return sink.write(block.data(), block.size());
        },
        "multipart/form-data");
    EXPECT_TRUE(!chunked || chunked->status == 413) << chunked->status;
    EXPECT_LT(sent, 32u << 20);

    // Several ranges are served as the whole body; one is cut from it.
    const auto several = Get("/fixtures/five", {{"Range", "bytes=0-,0-,1-1"}});
    ASSERT_TRUE(several);
    EXPECT_EQ(several->status, 200);
    EXPECT_EQ(several->body, "12345");
    const auto one = Get("/fixtures/five", {{"Range", "bytes=1-2"}});
    ASSERT_TRUE(one);
    EXPECT_EQ(one->status, 206);
    EXPECT_EQ(one->body, "23");
}

TEST_F(WebFrontTest, NewPcsAreCountedByTheAddressTheFrontAcceptedWhateverTheRequestClaims) {
    const auto identify = [&](int pc, const httplib::Headers& headers = {}) {
        const auto reply =
            Get("/Rb8Wd3Qy6N.php?S=2&I=" + std::to_string(2000000000000000 + pc) + "&V=VELMARC%200.7.7&A=&F=",
                headers);
        return reply ? reply->status : -1;
    };
    for (int pc = 0; pc < 5; ++pc) {
        ASSERT_EQ(identify(pc), 200);
    }
    EXPECT_EQ(identify(5, {{"X-Real-IP", "192.0.2.77"}}), 429);
    EXPECT_EQ(identify(0), 200);
}

} // namespace
