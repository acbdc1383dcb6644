// zelvora-web: the network's web service (accounts, pictures, shared images, icons) and its site pages.

#include "core/account_store.h"
#include "core/seed_loader.h"
#include "web_listeners.h"
#include "web_log.h"
#include "web_options.h"

#include <csignal>
#include <cstdio>

using namespace zelvora::web;

int main(int argc, char** argv) {
    std::string error;
    const auto options = ParseWebOptions(argc, argv, error);
    if (!options) {
        std::fputs(error.empty() ? WebUsage() : ("zelvora-web: " + error + "\n" + WebUsage()).c_str(),
                   error.empty() ? stdout : stderr);
        return error.empty() ? 0 : 2;
    }
    // Blocked before any thread starts, so every listener thread inherits the mask and only sigwait sees
    // them: the stop signals, and nginx's end.
    sigset_t awaited;
    sigemptyset(&awaited);
    sigaddset(&awaited, SIGINT);
    sigaddset(&awaited, SIGTERM);
    sigaddset(&awaited, SIGCHLD);
    pthread_sigmask(SIG_BLOCK, &awaited, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    try {
        AccountStore store(options->database);
        if (!options->seed.empty()) {
            if (const std::string why = LoadSeed(store, options->seed); !why.empty()) {
                std::fprintf(stderr, "zelvora-web: seed %s: %s\n", options->seed.c_str(), why.c_str());
                return 1;
            }
        }
        WebListeners listeners(store, *options);
        if (!listeners.Bind()) {
            return 1;
        }
        if (!listeners.Start()) {
            return 1;
        }
        LogLine("ready " + listeners.Endpoints());
        int signal = 0;
        while (sigwait(&awaited, &signal) == 0 && signal == SIGCHLD) {
            if (listeners.FrontHasEnded()) {
                return 1;
            }
        }
        LogLine(signal == SIGINT ? "stopping on SIGINT" : "stopping on SIGTERM");
        listeners.Stop();
    } catch (const StoreError& failure) {
        std::fprintf(stderr, "zelvora-web: %s\n", failure.what());
        return 1;
    }
    return 0;
}
