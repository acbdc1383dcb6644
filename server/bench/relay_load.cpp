// zelvora-network-bench: how many clients one relay core carries without losing a datagram, and how long
// speech spends inside the relay.
//
// It starts the network pinned to one CPU, then for each client count: that many stand-in clients, each
// with its own UDP socket, keep presence flowing at the pace their error level asks for (10 to 30 ms, as
// the real client does), and one client per channel talks without pause. Every relayed datagram is
// checked: sequence gaps mean lost relay datagrams, gaps in the talkers' payload numbers mean lost speech.
// Latency is from the talker's send to the listener's kernel receive timestamp.

#include "core/command_line.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <queue>
#include <sched.h>
#include <sstream>
#include <string>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

using Micros = std::int64_t;

constexpr int kChannels = 11;
constexpr Micros kTick = 31'250;
constexpr Micros kWarmUp = 3'000'000;
constexpr Micros kDrain = 500'000;

Micros Monotonic() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000 + now.tv_nsec / 1000;
}

std::int64_t RealtimeNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

void PinTo(int cpu) {
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(cpu, &set);
    sched_setaffinity(0, sizeof set, &set);
}

struct Options {
    std::string program = ZELVORA_NETWORK_PROGRAM;
    std::string address = "127.0.0.77";
    int portBase = 37000;
    std::vector<int> clientCounts = {100, 250, 500, 1000, 1500, 2000, 3000};
    int seconds = 10;
    int serverCpu = 0;
    int loadCpu = 1;
    // 0: pace presence by the error level received, as the client does; else a fixed pause.
    int presenceMs = 0;
    // Run the relay at a real-time priority, so that other work on its CPU does not count as relay latency.
    bool serverRealtime = false;
};

class Server {
  public:
    Server(const Options& options, int clients) {
        int output[2];
        if (pipe(output) != 0) {
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            PinTo(options.serverCpu);
            if (options.serverRealtime) {
                const sched_param priority{1};
                sched_setscheduler(0, SCHED_FIFO, &priority);
            }
            dup2(output[1], STDOUT_FILENO);
            close(output[0]);
            const std::string base = std::to_string(options.portBase);
            const std::string total = std::to_string(clients + 16);
            const std::string perChannel = std::to_string(clients);
            execl(options.program.c_str(), options.program.c_str(), "serve", "--address",
                  options.address.c_str(), "--port-base", base.c_str(), "--control", "0", "--max-members",
                  total.c_str(), "--max-per-channel", perChannel.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(output[1]);
        output_ = fdopen(output[0], "r");
        char line[512];
        while (output_ != nullptr && std::fgets(line, sizeof line, output_) != nullptr) {
            if (const char* control = std::strstr(line, "control 127.0.0.1:")) {
                controlPort_ = std::atoi(control + 18);
                break;
            }
        }
        // Keep reading its log, a line per join, so it never waits on us.
        drain_ = std::thread([this] {
            char discard[512];
            while (output_ != nullptr && std::fgets(discard, sizeof discard, output_) != nullptr) {
            }
        });
    }
    ~Server() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        drain_.join();
        if (output_ != nullptr) {
            std::fclose(output_);
        }
    }
    bool Ready() const { return controlPort_ > 0; }
    pid_t Pid() const { return pid_; }

    // CPU seconds the server has used so far.
    double CpuSeconds() const {
        std::ifstream stat("/proc/" + std::to_string(pid_) + "/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        std::istringstream fields(text.substr(text.rfind(')') + 2));
        std::string field;
        double ticks = 0;
        for (int index = 3; fields >> field; ++index) {
            if (index == 14 || index == 15) {
                ticks += std::stod(field);
            }
        }
        return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
    }

    // One counter of the "stats" subcommand.
    std::uint64_t Counter(const Options& options, const std::string& name) const {
        const std::string command = options.program + " stats --control " + std::to_string(controlPort_);
        FILE* pipe = popen(command.c_str(), "r");
        char line[256];
        std::uint64_t value = 0;
        while (std::fgets(line, sizeof line, pipe) != nullptr) {
            if (std::strncmp(line, (name + " ").c_str(), name.size() + 1) == 0) {
                value = std::stoull(line + name.size() + 1);
            }
        }
        pclose(pipe);
        return value;
    }

  private:
    pid_t pid_ = -1;
    FILE* output_ = nullptr;
    int controlPort_ = 0;
    std::thread drain_;
};

// Kernel-wide UDP receive and send buffer errors: drops no program sees.
std::uint64_t KernelUdpDrops() {
    std::ifstream snmp("/proc/net/snmp");
    std::string header;
    std::string values;
    std::string line;
    while (std::getline(snmp, line)) {
        if (line.starts_with("Udp: ")) {
            if (header.empty()) {
                header = line;
            } else {
                values = line;
            }
        }
    }
    std::istringstream names(header);
    std::istringstream numbers(values);
    std::string name;
    std::string number;
    std::uint64_t drops = 0;
    while (names >> name && numbers >> number) {
        if (name == "RcvbufErrors" || name == "SndbufErrors") {
            drops += std::stoull(number);
        }
    }
    return drops;
}

struct Client {
    int fd = -1;
    int channel = 0;
    bool talker = false;
    std::uint16_t account = 0;
    int errorLevel = 99;
    std::uint8_t lastSequence = 0;
    std::int64_t lastSpeech = -1;
    // talker
    std::uint32_t spoken = 0;
    std::uint8_t audioSequence = 0;
    Micros nextAudio = 0;
};

struct Tally {
    std::uint64_t relayed = 0;
    std::uint64_t lostRelayed = 0;
    std::uint64_t speech = 0;
    std::uint64_t lostSpeech = 0;
    std::vector<double> latencyMs;
    std::vector<double> sendLateMs;
};

Micros PresencePause(int errorLevel, int fixedMs) {
    if (fixedMs > 0) {
        return fixedMs * 1000;
    }
    return errorLevel >= 0 && errorLevel <= 3 ? 10'000 + errorLevel * 5'000 : 30'000;
}

void SendPresence(const Client& client, const sockaddr_in& to) {
    const std::uint8_t presence[14] = {'R',
                                       '.',
                                       0,
                                       static_cast<std::uint8_t>(client.account & 0xFF),
                                       static_cast<std::uint8_t>(client.account >> 8),
                                       0,
                                       0,
                                       0,
                                       0,
                                       'V',
                                       '0',
                                       '7',
                                       '7',
                                       2};
    sendto(client.fd, presence, sizeof presence, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

void SendAudio(Client& client, const sockaddr_in& to) {
    std::uint8_t audio[1024] = {};
    audio[0] = 'A';
    client.audioSequence = static_cast<std::uint8_t>(client.audioSequence % 255 + 1);
    audio[1] = client.audioSequence;
    audio[2] = 2;
    audio[3] = static_cast<std::uint8_t>(client.account & 0xFF);
    audio[4] = static_cast<std::uint8_t>(client.account >> 8);
    const std::uint32_t index = client.spoken++;
    std::memcpy(audio + 24, &index, sizeof index);
    const std::int64_t sentNs = RealtimeNs();
    std::memcpy(audio + 28, &sentNs, sizeof sentNs);
    sendto(client.fd, audio, sizeof audio, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

// Reads one datagram from a readable socket; epoll reports it again if more wait, and skipping the
// extra empty read halves the load generator's receive calls.
void Receive(Client& client, bool measuring, Tally& tally) {
    std::uint8_t buffer[1100];
    char control[256];
    {
        iovec vector{buffer, sizeof buffer};
        msghdr message{};
        message.msg_iov = &vector;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t length = recvmsg(client.fd, &message, MSG_DONTWAIT);
        if (length < 24) {
            return;
        }
        std::int64_t receivedNs = 0;
        for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr;
             header = CMSG_NXTHDR(&message, header)) {
            if (header->cmsg_level == SOL_SOCKET && header->cmsg_type == SO_TIMESTAMPNS) {
                timespec stamp{};
                std::memcpy(&stamp, CMSG_DATA(header), sizeof stamp);
                receivedNs = stamp.tv_sec * 1'000'000'000LL + stamp.tv_nsec;
            }
        }
        const std::uint8_t sequence = buffer[1];
        client.errorLevel = static_cast<std::int8_t>(buffer[5]);
        if (measuring && client.lastSequence != 0) {
            const int expected = client.lastSequence % 255 + 1;
            tally.lostRelayed += static_cast<std::uint64_t>((sequence - expected + 255) % 255);
        }
        client.lastSequence = sequence;
        if (measuring) {
            ++tally.relayed;
        }
        if (length == 1024 && buffer[7] == 1) {
            std::uint32_t index = 0;
            std::int64_t sentNs = 0;
            std::memcpy(&index, buffer + 24, sizeof index);
            std::memcpy(&sentNs, buffer + 28, sizeof sentNs);
            if (measuring) {
                ++tally.speech;
                if (client.lastSpeech >= 0 && index > client.lastSpeech + 1) {
                    tally.lostSpeech += index - static_cast<std::uint32_t>(client.lastSpeech) - 1;
                }
                tally.latencyMs.push_back(static_cast<double>(receivedNs - sentNs) / 1e6);
            }
            client.lastSpeech = index;
        }
    }
}

double Percentile(std::vector<double>& values, double fraction) {
    if (values.empty()) {
        return 0;
    }
    const auto at = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(at), values.end());
    return values[at];
}

enum class StepResult { Clean, Losses, LoadGeneratorStalled };

StepResult RunStep(const Options& options, int clientCount) {
    Server server(options, clientCount);
    if (!server.Ready()) {
        std::fprintf(stderr, "the network did not start\n");
        return StepResult::Losses;
    }
    std::vector<Client> clients(static_cast<std::size_t>(clientCount));
    const int epoll = epoll_create1(0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    inet_pton(AF_INET, options.address.c_str(), &local.sin_addr);
    std::vector<sockaddr_in> ports(kChannels);
    for (int channel = 0; channel < kChannels; ++channel) {
        ports[channel] = local;
        ports[channel].sin_port = htons(static_cast<std::uint16_t>(options.portBase + channel));
    }
    using Due = std::pair<Micros, std::size_t>;
    std::priority_queue<Due, std::vector<Due>, std::greater<>> presenceDue;
    const Micros start = Monotonic();
    for (std::size_t i = 0; i < clients.size(); ++i) {
        Client& client = clients[i];
        client.fd = socket(AF_INET, SOCK_DGRAM, 0);
        const int on = 1;
        setsockopt(client.fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
        bind(client.fd, reinterpret_cast<const sockaddr*>(&local), sizeof local);
        client.channel = static_cast<int>(i % kChannels);
        client.talker = i < kChannels;
        client.account = static_cast<std::uint16_t>(i + 1);
        client.nextAudio = start + 500'000 + static_cast<Micros>(i) * 997; // talkers start out of phase
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.u64 = i;
        epoll_ctl(epoll, EPOLL_CTL_ADD, client.fd, &event);
        presenceDue.push({start + static_cast<Micros>(i % 30) * 1000, i});
    }

    Tally tally;
    const Micros measureFrom = start + kWarmUp;
    const Micros measureTo = measureFrom + options.seconds * 1'000'000LL;
    double cpuAtStart = 0;
    std::uint64_t kernelDropsAtStart = 0;
    bool measuring = false;
    std::vector<epoll_event> events(256);
    for (Micros now = Monotonic(); now < measureTo + kDrain; now = Monotonic()) {
        if (!measuring && now >= measureFrom) {
            measuring = true;
            cpuAtStart = server.CpuSeconds();
            kernelDropsAtStart = KernelUdpDrops();
        }
        // Presence goes on through the drain: the relay sends nothing a client's presence has not paid for.
        const bool sending = now < measureTo;
        for (std::size_t t = 0; sending && t < static_cast<std::size_t>(kChannels); ++t) {
            Client& talker = clients[t];
            while (talker.nextAudio <= now) {
                if (measuring) {
                    tally.sendLateMs.push_back(static_cast<double>(now - talker.nextAudio) / 1000);
                }
                SendAudio(talker, ports[static_cast<std::size_t>(talker.channel)]);
                talker.nextAudio += kTick;
            }
        }
        while (presenceDue.top().first <= now) {
            auto [due, index] = presenceDue.top();
            presenceDue.pop();
            Client& client = clients[index];
            SendPresence(client, ports[static_cast<std::size_t>(client.channel)]);
            presenceDue.push(
                {std::max(due, now - 5'000) + PresencePause(client.errorLevel, options.presenceMs), index});
        }
        const int ready = epoll_wait(epoll, events.data(), static_cast<int>(events.size()), 1);
        for (int e = 0; e < ready; ++e) {
            Receive(clients[events[static_cast<std::size_t>(e)].data.u64], measuring && now < measureTo,
                    tally);
        }
    }
    const double cpu = server.CpuSeconds() - cpuAtStart;
    const std::uint64_t kernelDrops = KernelUdpDrops() - kernelDropsAtStart;
    std::uint64_t serverDrops = 0;
    // Withheld first: every moment this loop does not send presence, the relay's credit runs down.
    for (const char* counter : {"withheld-no-presence", "send-failures", "late-ticks", "dropped-members-full",
                                "dropped-floor-busy"}) {
        const std::uint64_t value = server.Counter(options, counter);
        if (value != 0) {
            std::fprintf(stderr, "  %d clients: %s %llu\n", clientCount, counter,
                         static_cast<unsigned long long>(value));
        }
        serverDrops += value;
    }
    const std::uint64_t tickAverage = server.Counter(options, "tick-time-average-us");
    const std::uint64_t tickMax = server.Counter(options, "tick-time-max-us");
    for (const Client& client : clients) {
        close(client.fd);
    }
    close(epoll);

    const double window = options.seconds + kDrain / 1e6;
    const double expected = static_cast<double>(clientCount) * options.seconds * 1e6 / kTick;
    const double median = Percentile(tally.latencyMs, 0.5);
    const double p99 = Percentile(tally.latencyMs, 0.99);
    const double lateP99 = Percentile(tally.sendLateMs, 0.99);
    const double lateMax = Percentile(tally.sendLateMs, 1.0);
    std::printf(
        "%7d %8.1f%% %10.0f %9.4f%% %10llu %10llu %8llu %8llu %9.2f %9.2f %9.2f %9.2f %8.2f %8.2f\n",
        clientCount, 100 * cpu / window, static_cast<double>(tally.relayed) / options.seconds,
        100 * static_cast<double>(tally.relayed) / expected,
        static_cast<unsigned long long>(tally.lostRelayed), static_cast<unsigned long long>(tally.lostSpeech),
        static_cast<unsigned long long>(serverDrops), static_cast<unsigned long long>(kernelDrops), median,
        p99, lateP99, lateMax, static_cast<double>(tickAverage) / 1000, static_cast<double>(tickMax) / 1000);
    std::fflush(stdout);
    if (tally.lostRelayed == 0 && tally.lostSpeech == 0 && serverDrops == 0 && kernelDrops == 0) {
        return StepResult::Clean;
    }
    // A talker or listener more than two ticks late (another process took the load generator's CPU) loses
    // datagrams through its own fault: its hiccup, not the relay's limit.
    return lateMax > 2 * kTick / 1000.0 ? StepResult::LoadGeneratorStalled : StepResult::Losses;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const std::string value = argv[i + 1];
        if (option == "--program") {
            options.program = value;
        } else if (option == "--address") {
            options.address = value;
        } else if (option == "--port-base") {
            options.portBase = std::stoi(value);
        } else if (option == "--seconds") {
            options.seconds = std::stoi(value);
        } else if (option == "--server-cpu") {
            options.serverCpu = std::stoi(value);
        } else if (option == "--load-cpu") {
            options.loadCpu = std::stoi(value);
        } else if (option == "--server-realtime") {
            options.serverRealtime = value == "1";
        } else if (option == "--presence-ms") {
            options.presenceMs = std::stoi(value);
        } else if (option == "--clients") {
            options.clientCounts.clear();
            std::istringstream list(value);
            std::string count;
            while (std::getline(list, count, ',')) {
                options.clientCounts.push_back(std::stoi(count));
            }
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && zelvora::network::ParseIpv4(options.address).has_value();
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: zelvora-network-bench [--clients 100,500,...] [--seconds S] [--program PATH]\n"
                     "       [--address 127.0.0.77] [--port-base 37000] [--server-cpu 0] [--load-cpu 1] "
                     "[--presence-ms 0] [--server-realtime 0|1]\n");
        return 2;
    }
    PinTo(options.loadCpu);
    std::printf("clients  srv-cpu  relayed/s  received  lost-rel  lost-spch  srv-drop  krn-drop  lat-p50ms  "
                "lat-p99ms  late-p99  late-max  tick-avg  tick-max\n");
    for (const int count : options.clientCounts) {
        StepResult result = RunStep(options, count);
        for (int retry = 0; retry < 3 && result == StepResult::LoadGeneratorStalled; ++retry) {
            std::printf("the load generator stalled: again\n");
            result = RunStep(options, count);
        }
        if (result != StepResult::Clean) {
            std::printf("losses at %d clients: stopping\n", count);
            break;
        }
    }
    return 0;
}
