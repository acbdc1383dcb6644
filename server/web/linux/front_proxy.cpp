#include "front_proxy.h"

#include "web_log.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace zelvora::web {
namespace {

constexpr const char* kNginx = "/usr/sbin/nginx";
constexpr auto kStartTimeout = std::chrono::seconds(20);

std::string ExitText(int status) {
    return WIFSIGNALED(status) ? "signal " + std::to_string(WTERMSIG(status))
                               : "exit code " + std::to_string(WEXITSTATUS(status));
}

// Runs in the child between fork and exec, where only async-signal-safe calls are allowed: everything it
// uses is made before the fork.
[[noreturn]] void ExecNginx(pid_t parent, const std::vector<int>& inherited, char* const* argv,
                            char* const* envp) {
    // Ends with this process even when it is killed outright.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) {
        _exit(1);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    // Only the public sockets go to nginx; the database and the service's own sockets stay here.
    close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    for (const int fd : inherited) {
        fcntl(fd, F_SETFD, 0);
    }
    execve(kNginx, argv, envp);
    _exit(127);
}

} // namespace

FrontProxy::~FrontProxy() {
    Stop();
}

bool FrontProxy::Start(const FrontSetup& setup) {
    if (access(kNginx, X_OK) != 0) {
        std::fprintf(stderr, "zelvora-web: %s is missing: tools/setup-debian.sh installs it\n", kNginx);
        return false;
    }
    const std::string configuration = setup.folder + "/nginx.conf";
    const std::string pidFile = setup.folder + "/nginx.pid";
    std::ofstream(configuration) << FrontConfig(setup);
    // nginx takes sockets already listening from its environment, as in its own binary upgrade: the
    // service binds them, so a free port can be picked and port 443 needs no privilege in nginx.
    std::string inheritedList = "NGINX=";
    std::vector<int> inherited;
    for (const FrontListener& listener : setup.listeners) {
        inheritedList += std::to_string(listener.fd) + ";";
        inherited.push_back(listener.fd);
    }
    std::vector<std::string> args = {"nginx", "-p",     setup.folder, "-c",         configuration,
                                     "-e",    "stderr", "-g",         "daemon off;"};
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (char** variable = environ; *variable; ++variable) {
        if (std::strncmp(*variable, "NGINX=", 6) != 0) {
            envp.push_back(*variable);
        }
    }
    envp.push_back(inheritedList.data());
    envp.push_back(nullptr);

    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ < 0) {
        std::fprintf(stderr, "zelvora-web: cannot start nginx: %s\n", std::strerror(errno));
        return false;
    }
    if (pid_ == 0) {
        ExecNginx(parent, inherited, argv.data(), envp.data());
    }
    // nginx writes its pid file once its configuration is loaded and the sockets are its own.
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (!std::filesystem::exists(pidFile)) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            std::fprintf(stderr, "zelvora-web: nginx (%s) ended at its start with %s\n", kNginx,
                         ExitText(status).c_str());
            return false;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            std::fprintf(stderr, "zelvora-web: nginx did not start within %lld s\n",
                         static_cast<long long>(kStartTimeout.count()));
            Stop();
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool FrontProxy::HasEnded() {
    int status = 0;
    if (pid_ <= 0 || waitpid(pid_, &status, WNOHANG) != pid_) {
        return false;
    }
    pid_ = -1;
    LogLine("nginx ended with " + ExitText(status));
    return true;
}

void FrontProxy::Stop() {
    if (pid_ <= 0) {
        return;
    }
    // Fast shutdown: nginx closes every connection and waits for its worker.
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

} // namespace zelvora::web
