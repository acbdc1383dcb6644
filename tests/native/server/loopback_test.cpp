// The real program over real loopback UDP: started as a child process on an address of its own, driven
// by a stand-in client and by its own operator subcommands, then stopped with SIGTERM.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <time.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kPortBase = 36000;

std::int64_t NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000 + now.tv_nsec / 1'000'000;
}

class RunningNetwork {
  public:
    // Tries a few loopback addresses, in case another run holds one.
    bool Start() {
        for (int attempt = 0; attempt < 5; ++attempt) {
            address_ = "127.0.0." + std::to_string(2 + (getpid() + attempt * 37) % 250);
            if (TryStart()) {
                return true;
            }
            Stop();
        }
        return false;
    }

    // SIGTERM, then the exit status; -1 if it had to be killed.
    int Stop() {
        if (pid_ <= 0) {
            return -1;
        }
        kill(pid_, SIGTERM);
        int status = 0;
        for (int waited = 0; waited < 50; ++waited) {
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                ReadOutput(100);
                close(output_);
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            usleep(100'000);
        }
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        pid_ = -1;
        close(output_);
        return -1;
    }

    ~RunningNetwork() { Stop(); }

    // Runs an operator subcommand; returns its standard output, or "failed" when it exits non-zero.
    std::string Operator(const std::string& arguments) const {
        const std::string command = std::string(ZELVORA_NETWORK_PROGRAM) + " " + arguments + " --control " +
                                    std::to_string(controlPort_) + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        std::string text;
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            text += buffer;
        }
        return pclose(pipe) == 0 ? text : "failed: " + text;
    }

    // Collects the program's log for a while.
    const std::string& ReadOutput(int milliseconds) {
        const std::int64_t until = NowMs() + milliseconds;
        pollfd readable{output_, POLLIN, 0};
        while (NowMs() < until && poll(&readable, 1, static_cast<int>(until - NowMs())) > 0) {
            char buffer[4096];
            const ssize_t got = read(output_, buffer, sizeof buffer);
            if (got <= 0) {
                break;
            }
            log_.append(buffer, static_cast<std::size_t>(got));
        }
        return log_;
    }

    sockaddr_in Port(int offset) const {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(static_cast<std::uint16_t>(kPortBase + offset));
        inet_pton(AF_INET, address_.c_str(), &to.sin_addr);
        return to;
    }
    const std::string& address() const { return address_; }

  private:
    bool TryStart() {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) {
            return false;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        const std::string base = std::to_string(kPortBase);
        std::vector<std::string> args = {ZELVORA_NETWORK_PROGRAM, "serve", "--address", address_,
                                         "--port-base",           base,    "--control", "0"};
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        const int spawned =
            posix_spawn(&pid_, ZELVORA_NETWORK_PROGRAM, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(pipeFds[1]);
        output_ = pipeFds[0];
        if (spawned != 0) {
            pid_ = -1;
            return false;
        }
        log_.clear();
        const std::int64_t until = NowMs() + 5000;
        while (NowMs() < until) {
            const std::size_t ready = ReadOutput(100).find("control 127.0.0.1:");
            if (ready != std::string::npos) {
                controlPort_ = std::stoi(log_.substr(ready + 18));
                return true;
            }
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1; // it could not bind; try another address
                return false;
            }
        }
        return false;
    }

    std::string address_;
    pid_t pid_ = -1;
    int output_ = -1;
    int controlPort_ = 0;
    std::string log_;
};

// A stand-in client: a voice socket and a supervisor socket on the network's own loopback address.
struct StandInClient {
    explicit StandInClient(const std::string& address) {
        for (int* fd : {&voice, &supervisor}) {
            *fd = socket(AF_INET, SOCK_DGRAM, 0);
            sockaddr_in local{};
            local.sin_family = AF_INET;
            inet_pton(AF_INET, address.c_str(), &local.sin_addr);
            bind(*fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
        }
    }
    ~StandInClient() {
        close(voice);
        close(supervisor);
    }
    static void Send(int fd, const sockaddr_in& to, const Bytes& bytes) {
        sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }
    static Bytes Receive(int fd, int timeoutMs) {
        pollfd readable{fd, POLLIN, 0};
        if (poll(&readable, 1, timeoutMs) <= 0) {
            return {};
        }
        Bytes bytes(2048);
        const ssize_t got = recv(fd, bytes.data(), bytes.size(), 0);
        bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        return bytes;
    }
    // Keeps presence flowing to the channel every 10 ms and returns what was relayed meanwhile.
    std::vector<Bytes> Listen(const RunningNetwork& network, int channel, int milliseconds) const {
        const Bytes presence = {'R', '.', 0, 0x39, 0x30, 0, 0, 0, 0, 'V', '0', '7', '7', 2}; // account 12345
        std::vector<Bytes> relayed;
        const std::int64_t until = NowMs() + milliseconds;
        while (NowMs() < until) {
            Send(voice, network.Port(channel), presence);
            const std::int64_t next = NowMs() + 10;
            while (NowMs() < next) {
                Bytes bytes = Receive(voice, static_cast<int>(std::max<std::int64_t>(0, next - NowMs())));
                if (!bytes.empty()) {
                    relayed.push_back(std::move(bytes));
                }
            }
        }
        return relayed;
    }
    Bytes Ask(const RunningNetwork& network, int channel, const Bytes& request) const {
        Send(supervisor, network.Port(1000 + channel), request);
        return Receive(supervisor, 1000);
    }

    int voice = -1;
    int supervisor = -1;
};

TEST(Loopback, ServesAStandInClientAndStopsCleanlyOnSigterm) {
    RunningNetwork network;
    ASSERT_TRUE(network.Start()) << network.ReadOutput(0);
    StandInClient client(network.address());

    StandInClient::Send(client.voice, network.Port(0), {'T', '.', 'W', 'I', 'N', 0, 0, 0, 0});
    const std::vector<Bytes> relayed = client.Listen(network, 3, 1000);
    // One datagram per 31.25 ms, give or take the edges of the second.
    EXPECT_GE(relayed.size(), 28u);
    EXPECT_LE(relayed.size(), 34u);
    std::uint8_t previous = 0;
    for (const Bytes& datagram : relayed) {
        ASSERT_EQ(datagram.size(), 24u);
        EXPECT_EQ(datagram[0], 'A');
        EXPECT_NE(datagram[1], 0);
        EXPECT_NE(datagram[1], previous);
        EXPECT_EQ(datagram[7], 0);
        EXPECT_LE(datagram[5], 4);
        previous = datagram[1];
    }
    ASSERT_FALSE(relayed.empty());
    const std::uint8_t relayByte = relayed.back()[2];

    EXPECT_EQ(client.Ask(network, 3, {'L', 0, 0}), (Bytes{'L', 3, 1, 0x39, 0x30}));
    EXPECT_EQ(network.Operator("notice 240 --to 12345"), "notice 240 queued for 1 client\n");
    EXPECT_EQ(client.Ask(network, 3, {'A', 1, relayByte}), (Bytes{'A', 0, 240}));
    EXPECT_EQ(client.Ask(network, 3, {'A', 1, relayByte}), (Bytes{'A', 0, 0}));

    EXPECT_EQ(network.Operator("add-member --channel 3 --account 77"),
              "simulated member 77 added to channel 3\n");
    EXPECT_EQ(network.Operator("speak --channel 3 --account 77 --wav /nonexistent.wav"),
              "failed: zelvora-network: cannot open /nonexistent.wav: No such file or directory\n");
    // The command returns once the sound is out; meanwhile the client keeps its presence flowing.
    std::string spoke;
    std::thread speaker(
        [&] { spoke = network.Operator("speak --channel 3 --account 77 --tone 440 --seconds 0.25"); });
    const std::vector<Bytes> heard = client.Listen(network, 3, 1500);
    speaker.join();
    EXPECT_EQ(spoke, "simulated member 77 speaks 0.25 s on channel 3\n");
    int speech = 0;
    for (const Bytes& datagram : heard) {
        if (datagram.size() == 1024 && datagram[7] == 1 && datagram[3] == 77) {
            ++speech;
        }
    }
    EXPECT_EQ(speech, 8);
    const std::string members = network.Operator("members");
    EXPECT_NE(members.find("member 3 12345 " + network.address() + ":"), std::string::npos) << members;
    EXPECT_NE(members.find("member 3 77 simulated"), std::string::npos) << members;

    StandInClient::Send(client.voice, network.Port(3), {'Z', 1, 2});
    StandInClient::Send(client.supervisor, network.Port(1003), Bytes(40, 'L'));
    const std::string stats = network.Operator("stats");
    EXPECT_NE(stats.find("dropped-unknown-kind 1\n"), std::string::npos) << stats;
    EXPECT_NE(stats.find("dropped-wrong-size 1\n"), std::string::npos) << stats;
    EXPECT_EQ(network.Operator("notice 220 --to 999").substr(0, 6), "failed");

    EXPECT_EQ(network.Stop(), 0);
    const std::string log = network.ReadOutput(0);
    for (const char* line :
         {"greeting ", "join channel 3 account 12345", "talk start channel 3 account 77",
          "talk stop channel 3 account 77", "notice 240 delivered", "stopping on SIGTERM"}) {
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    }
}

} // namespace

namespace {

// A flood of greetings from hostile sources: the relay goes on, and the log says so in a few lines.
TEST(Loopback, AFloodOfGreetingsNeitherStallsTheNetworkNorFloodsItsLog) {
    RunningNetwork network;
    ASSERT_TRUE(network.Start()) << network.ReadOutput(0);
    StandInClient client(network.address());
    const Bytes greeting = {'T', '.', 'W', 'I', 'N', 0, 0, 0, 0};
    for (int burst = 0; burst < 10; ++burst) {
        for (int n = 0; n < 300; ++n) {
            StandInClient::Send(client.voice, network.Port(0), greeting);
        }
        usleep(20'000);
    }
    const std::string stats = network.Operator("stats");
    EXPECT_NE(stats.find("greetings 3000\n"), std::string::npos) << stats;
    EXPECT_NE(client.Listen(network, 1, 200).size(), 0u);
    usleep(1'100'000); // the interval ends: the next tick sums it up
    const std::string log = network.ReadOutput(300);
    std::size_t greetingLines = 0;
    const std::string written = " greeting " + network.address();
    for (std::size_t at = log.find(written); at != std::string::npos; at = log.find(written, at + 1)) {
        ++greetingLines;
    }
    EXPECT_LE(greetingLines, 40u) << "the flood may straddle two intervals\n" << log;
    EXPECT_NE(log.find("more greeting lines in the last second were not logged"), std::string::npos) << log;
    EXPECT_EQ(network.Stop(), 0);
}

} // namespace
