#include "relay_server.h"

#include "batching_outbox.h"
#include "control_server.h"
#include "core/network.h"
#include "core/throttled_log.h"
#include "monotonic_clock.h"
#include "socket_util.h"
#include "stdout_log.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/epoll.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace zelvora::network {
namespace {

// epoll tags above any file descriptor number for the fixed sources.
constexpr std::uint64_t kTagUdp = 1ull << 40;
constexpr std::uint64_t kTagTimer = 1ull << 41;
constexpr std::uint64_t kTagSignal = 1ull << 42;
constexpr std::uint64_t kTagListener = 1ull << 43;
// More ticks than this owed at once (the process was stopped, say) are skipped, not sent in a burst.
constexpr std::uint64_t kMaxCatchUpTicks = 4;
// Datagrams read from one socket before the others get their turn.
constexpr int kReadsPerWakeup = 64;

constexpr int kSupervisorOffset = 1000;

struct Resources {
    int epoll = -1;
    int timer = -1;
    int signals = -1;
    std::array<std::array<int, kChannelCount>, 2> sockets{};

    Resources() {
        for (auto& row : sockets) {
            row.fill(-1);
        }
    }
    ~Resources() {
        for (const auto& row : sockets) {
            for (const int fd : row) {
                if (fd >= 0) {
                    close(fd);
                }
            }
        }
        for (const int fd : {epoll, timer, signals}) {
            if (fd >= 0) {
                close(fd);
            }
        }
    }
};

bool Watch(int epoll, int fd, std::uint64_t tag) {
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u64 = tag;
    if (epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &event) != 0) {
        std::perror("zelvora-network: epoll_ctl");
        return false;
    }
    return true;
}

bool OpenUdpSockets(const ServeOptions& options, Resources& resources) {
    for (int kind = 0; kind < 2; ++kind) {
        for (int channel = 0; channel < kChannelCount; ++channel) {
            const int port = options.portBase + kind * kSupervisorOffset + channel;
            std::string error;
            const int fd = OpenBoundUdp({options.address, static_cast<std::uint16_t>(port)}, error);
            if (fd < 0) {
                std::fprintf(stderr, "zelvora-network: %s\n", error.c_str());
                return false;
            }
            resources.sockets[static_cast<std::size_t>(kind)][static_cast<std::size_t>(channel)] = fd;
            if (!Watch(resources.epoll, fd,
                       kTagUdp | static_cast<std::uint64_t>(kind * kChannelCount + channel))) {
                return false;
            }
        }
    }
    return true;
}

bool OpenTimerAndSignals(const NetworkSettings& settings, Resources& resources) {
    resources.timer = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    itimerspec period{};
    period.it_interval.tv_sec = settings.tick / 1'000'000;
    period.it_interval.tv_nsec = (settings.tick % 1'000'000) * 1000;
    period.it_value = period.it_interval;
    if (resources.timer < 0 || timerfd_settime(resources.timer, 0, &period, nullptr) != 0) {
        std::perror("zelvora-network: timerfd");
        return false;
    }
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    resources.signals = signalfd(-1, &stopSignals, SFD_NONBLOCK | SFD_CLOEXEC);
    if (resources.signals < 0) {
        std::perror("zelvora-network: signalfd");
        return false;
    }
    return Watch(resources.epoll, resources.timer, kTagTimer) &&
           Watch(resources.epoll, resources.signals, kTagSignal);
}

void ReadDatagrams(int fd, int kind, int channel, Network& network, BatchingOutbox& out) {
    // One byte more than the largest valid datagram, so anything longer reads as the wrong size.
    std::array<std::uint8_t, 1025> buffer;
    for (int read = 0; read < kReadsPerWakeup; ++read) {
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t length =
            recvfrom(fd, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (length < 0) {
            break;
        }
        const auto bytes = std::span<const std::uint8_t>(buffer).first(static_cast<std::size_t>(length));
        if (kind == 0) {
            network.OnVoiceDatagram(channel, FromSockaddr(from), bytes, MonotonicNow(), out);
        } else {
            network.OnSupervisorDatagram(channel, FromSockaddr(from), bytes, out);
        }
    }
    out.Flush();
}

void RunTicks(int timer, Network& network, BatchingOutbox& out, ThrottledLog& log) {
    std::uint64_t owed = 0;
    if (read(timer, &owed, sizeof owed) != sizeof owed) {
        return;
    }
    if (owed > kMaxCatchUpTicks) {
        network.counters().lateTicks += owed - kMaxCatchUpTicks;
        owed = kMaxCatchUpTicks;
    }
    Counters& counters = network.counters();
    for (std::uint64_t tick = 0; tick < owed; ++tick) {
        const Micros start = MonotonicNow();
        network.Tick(start, out);
        out.Flush();
        const auto took = static_cast<std::uint64_t>(MonotonicNow() - start);
        ++counters.ticks;
        counters.tickMicrosTotal += took;
        counters.tickMicrosMax = std::max(counters.tickMicrosMax, took);
    }
    log.Summarise();
}

std::string PortRange(std::uint32_t address, int first) {
    return FormatEndpoint({address, static_cast<std::uint16_t>(first)}) + "-" + std::to_string(first + 10);
}

} // namespace

int Serve(const ServeOptions& options) {
    std::signal(SIGPIPE, SIG_IGN);
    StdoutLog output;
    ThrottledLog log(output, MonotonicNow);
    Resources resources;
    resources.epoll = epoll_create1(EPOLL_CLOEXEC);
    if (resources.epoll < 0 || !OpenUdpSockets(options, resources) ||
        !OpenTimerAndSignals(options.settings, resources)) {
        return 1;
    }
    ControlServer control;
    std::string error;
    if (!control.Open(options.controlPort, resources.epoll, kTagListener, error)) {
        std::fprintf(stderr, "zelvora-network: control port: %s\n", error.c_str());
        return 1;
    }

    Network network(options.settings, log);
    BatchingOutbox out(resources.sockets, network.counters());
    log.Line("ready voice " + PortRange(options.address, options.portBase) + " supervisor " +
             PortRange(options.address, options.portBase + kSupervisorOffset) +
             " control 127.0.0.1:" + std::to_string(control.Port()));

    std::array<epoll_event, 64> events;
    for (;;) {
        const int ready = epoll_wait(resources.epoll, events.data(), static_cast<int>(events.size()), -1);
        if (ready < 0 && errno != EINTR) {
            std::perror("zelvora-network: epoll_wait");
            return 1;
        }
        for (int i = 0; i < ready; ++i) {
            const std::uint64_t tag = events[static_cast<std::size_t>(i)].data.u64;
            if (tag & kTagUdp) {
                const int index = static_cast<int>(tag & 0xFF);
                const int kind = index / kChannelCount;
                const int channel = index % kChannelCount;
                ReadDatagrams(
                    resources.sockets[static_cast<std::size_t>(kind)][static_cast<std::size_t>(channel)],
                    kind, channel, network, out);
            } else if (tag == kTagTimer) {
                RunTicks(resources.timer, network, out, log);
                control.CloseIdle(MonotonicNow());
            } else if (tag == kTagSignal) {
                signalfd_siginfo signal{};
                const ssize_t got = read(resources.signals, &signal, sizeof signal);
                log.Line(std::string("stopping on ") +
                         (got == sizeof signal && signal.ssi_signo == SIGINT ? "SIGINT" : "SIGTERM"));
                return 0;
            } else if (tag == kTagListener) {
                control.Accept(MonotonicNow());
            } else {
                const int fd = static_cast<int>(tag);
                if (control.Owns(fd)) {
                    control.OnEvent(fd, events[static_cast<std::size_t>(i)].events, network, MonotonicNow());
                }
            }
        }
    }
}

} // namespace zelvora::network
