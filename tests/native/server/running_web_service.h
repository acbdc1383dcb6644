#pragma once
// The real zelvora-web on free ports of 127.0.0.1, with a fresh database and a fixture folder.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

// The program on free ports with a fresh database; stopped with SIGTERM.
class RunningWebService {
  public:
    RunningWebService() {
        // The service may close a connection that a test is still writing to.
        std::signal(SIGPIPE, SIG_IGN);
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
