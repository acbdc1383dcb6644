// The real zelvora-web over TLS on free ports: the client's exact request forms reach the handlers.

#include <httplib.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// The program on free ports with a fresh database; stopped with SIGTERM.
class RunningWebService {
  public:
    RunningWebService() {
        const std::string scratch = testing::TempDir() + "web-tls-" + std::to_string(getpid());
        database_ = scratch + ".sqlite";
        std::remove(database_.c_str());
        fixtures = scratch + "-fixtures";
        std::filesystem::create_directories(fixtures);
        std::ofstream(fixtures + "/five") << "12345";
        std::ofstream(fixtures + "/empty");
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        std::vector<std::string> args = {
            ZELVORA_WEB_PROGRAM, "--db", database_,    "--host", "127.0.0.1", "--port", "0",
            "--site-port",       "0",    "--fixtures", fixtures};
        for (const char* file :
             {"--cert", ZELVORA_WEB_TEST_CA "/server.pem", "--key", ZELVORA_WEB_TEST_CA "/server.key"}) {
            args.emplace_back(file);
        }
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, ZELVORA_WEB_PROGRAM, &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        output_ = fds[0];
        ReadReadyLine();
    }
    ~RunningWebService() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        close(output_);
        std::remove(database_.c_str());
        std::filesystem::remove_all(fixtures);
    }
    std::string fixtures;
    int httpsPort = 0;
    int sitePort = 0;

  private:
    void ReadReadyLine() {
        std::string line;
        pollfd readable{output_, POLLIN, 0};
        while (line.find('\n') == std::string::npos && poll(&readable, 1, 10'000) > 0) {
            char buffer[256];
            const ssize_t got = read(output_, buffer, sizeof buffer);
            if (got <= 0) {
                return;
            }
            line.append(buffer, static_cast<std::size_t>(got));
        }
        // "hh:mm:ss.mmm ready https 127.0.0.1:P site 127.0.0.1:Q"
        const std::size_t https = line.find("https 127.0.0.1:");
        const std::size_t site = line.find("site 127.0.0.1:");
        if (https != std::string::npos && site != std::string::npos) {
            httpsPort = std::stoi(line.substr(https + 16));
            sitePort = std::stoi(line.substr(site + 15));
        }
    }
    std::string database_;
    pid_t pid_ = -1;
    int output_ = -1;
};

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
