#include "core/command_line.h"
#include "core/control_protocol.h"

#include "network_harness.h"

#include <gtest/gtest.h>

namespace zelvora::network::testing {
namespace {

struct LineCase {
    const char* line;
    bool valid;
};

TEST(ControlLine, ParsesEveryRequestAndRejectsMalformedOnes) {
    const LineCase cases[] = {
        {"members", true},
        {"stats", true},
        {"notice 220 all", true},
        {"notice 240 65535", true},
        {"add-member 10 0", true},
        {"remove-member 0 65535", true},
        {"speak 3 77 1000", true},
        {"speak 3 77 1920000", true},
        {"", false},
        {"members now", false},
        {"notice 230 all", false},
        {"notice 220", false},
        {"notice 220 65536", false},
        {"notice 220 -1", false},
        {"add-member 11 5", false},
        {"add-member 3", false},
        {"add-member 3 5x", false},
        {"remove-member three 5", false},
        {"speak 3 77 999", false},
        {"speak 3 77 0", false},
        {"speak 3 77 1921000", false},
        {"speak 3 77 99999999999999999999999", false},
        {"shutdown", false},
    };
    for (const LineCase& test : cases) {
        SCOPED_TRACE(test.line);
        const ParsedControlLine parsed = ParseControlLine(test.line);
        EXPECT_EQ(parsed.request.has_value(), test.valid) << parsed.error;
        if (parsed.request) {
            EXPECT_EQ(FormatControlLine(*parsed.request), test.line)
                << "the tool sends what the network reads";
        }
    }
    EXPECT_FALSE(ParseControlLine(std::string(200, 'a')).request);
}

TEST(ControlExecution, SimulatedMembersJoinSpeakAndLeave) {
    Harness h;
    h.Presence(2, Client(1), 1);
    const auto run = [&](const std::string& line, std::vector<std::uint8_t> sound = {}) {
        const ParsedControlLine parsed = ParseControlLine(line);
        EXPECT_TRUE(parsed.request) << line;
        return ExecuteControl(h.network, *parsed.request, std::move(sound), h.now);
    };
    EXPECT_EQ(run("add-member 2 77"), "ok\nsimulated member 77 added to channel 2\n");
    EXPECT_EQ(run("add-member 2 77").substr(0, 6), "error ");
    EXPECT_EQ(run("speak 2 78 1000", std::vector<std::uint8_t>(1000, 5)).substr(0, 6), "error ");

    EXPECT_EQ(run("speak 2 77 3000", std::vector<std::uint8_t>(3000, 5)),
              "ok\nsimulated member 77 speaks 0.09 s on channel 2\n");
    EXPECT_EQ(run("add-member 2 79").substr(0, 3), "ok\n");
    EXPECT_EQ(run("speak 2 79 1000", std::vector<std::uint8_t>(1000, 6)),
              "error channel 2 is busy: account 77 has the floor\n");
    const std::string members = run("members");
    EXPECT_NE(members.find("channel 2 members 3\nmember 2 1 127.0.0.1:50001 error 4 relay 1\n"
                           "member 2 77 simulated talking\nmember 2 79 simulated\n"),
              std::string::npos)
        << members;

    // Relayed at one payload per tick to the real client, then the floor is free again.
    for (int tick = 0; tick < 5; ++tick) {
        h.Tick({{2, Client(1)}});
    }
    std::vector<std::uint8_t> heard;
    for (const SentDatagram& datagram : h.outbox.To(Client(1))) {
        heard.push_back(HeardFill(datagram));
    }
    EXPECT_EQ(heard, (std::vector<std::uint8_t>{5, 5, 5, 0, 0}));
    EXPECT_EQ(h.outbox.To(Client(1)).at(0).bytes[3], 77);
    EXPECT_EQ(run("speak 2 79 1000", std::vector<std::uint8_t>(1000, 6)).substr(0, 3), "ok\n");

    EXPECT_EQ(run("remove-member 2 79"), "ok\nsimulated member 79 removed from channel 2\n");
    EXPECT_TRUE(h.log.Contains("talk stop channel 2 account 79 simulated"));
    EXPECT_EQ(run("remove-member 2 79").substr(0, 6), "error ");
    EXPECT_EQ(h.ListedAccounts(2), (std::vector<std::uint16_t>{50001, 77}));
}

TEST(ControlExecution, NoticeAndStatsReplies) {
    Harness h;
    h.Presence(0, Client(1), 11);
    const auto run = [&](const std::string& line) {
        return ExecuteControl(h.network, *ParseControlLine(line).request, {}, h.now);
    };
    EXPECT_EQ(run("notice 240 11"), "ok\nnotice 240 queued for 1 client\n");
    EXPECT_EQ(run("notice 240 12"), "error no client with account 12\n");
    EXPECT_EQ(run("notice 220 all").substr(0, 3), "ok\n");
    const std::string stats = run("stats");
    EXPECT_NE(stats.find("\npresence 1\n"), std::string::npos) << stats;
    EXPECT_NE(stats.find("\ndropped-wrong-size 0\n"), std::string::npos) << stats;
}

struct CommandCase {
    std::vector<std::string_view> args;
    bool valid;
    Subcommand subcommand;
};

TEST(CommandLineParsing, SubcommandsAndTheirOptions) {
    const CommandCase cases[] = {
        {{}, true, Subcommand::Help},
        {{"--help"}, true, Subcommand::Help},
        {{"serve"}, true, Subcommand::Serve},
        {{"serve", "--address", "127.0.0.9", "--port-base", "40000", "--control", "0"},
         true,
         Subcommand::Serve},
        {{"serve", "--max-members", "10", "--max-per-channel", "5"}, true, Subcommand::Serve},
        {{"serve", "--error-level", "4"}, true, Subcommand::Serve},
        {{"serve", "--error-level", "5"}, false, {}},
        {{"members", "--control", "41000"}, true, Subcommand::Members},
        {{"stats"}, true, Subcommand::Stats},
        {{"notice", "220"}, true, Subcommand::Notice},
        {{"notice", "240", "--to", "1234"}, true, Subcommand::Notice},
        {{"notice", "240", "--to", "all"}, true, Subcommand::Notice},
        {{"add-member", "--channel", "10", "--account", "5"}, true, Subcommand::AddMember},
        {{"remove-member", "--account", "5", "--channel", "0"}, true, Subcommand::RemoveMember},
        {{"speak", "--channel", "1", "--account", "5", "--wav", "a.wav"}, true, Subcommand::Speak},
        {{"speak", "--channel", "1", "--account", "5", "--tone", "440", "--seconds", "1.5"},
         true,
         Subcommand::Speak},
        {{"serve", "--help"}, true, Subcommand::Help},
        {{"launch"}, false, {}},
        {{"serve", "--address", "127.0.0"}, false, {}},
        {{"serve", "--address", "127.0.0.256"}, false, {}},
        {{"serve", "--address", "1.2.3.4.5"}, false, {}},
        {{"serve", "--address"}, false, {}},
        {{"serve", "--port-base", "64526"}, false, {}},
        {{"serve", "--port-base", "0"}, false, {}},
        {{"serve", "--control", "65536"}, false, {}},
        {{"serve", "--max-members", "0"}, false, {}},
        {{"serve", "--channel", "1"}, false, {}},
        {{"members", "--address", "127.0.0.1"}, false, {}},
        {{"notice"}, false, {}},
        {{"notice", "230"}, false, {}},
        {{"notice", "220", "--to", "65536"}, false, {}},
        {{"add-member", "--channel", "1"}, false, {}},
        {{"add-member", "--channel", "11", "--account", "1"}, false, {}},
        {{"add-member", "--channel", "1", "--account", "-1"}, false, {}},
        {{"speak", "--channel", "1", "--account", "5"}, false, {}},
        {{"speak", "--channel", "1", "--account", "5", "--tone", "440"}, false, {}},
        {{"speak", "--channel", "1", "--account", "5", "--tone", "x", "--seconds", "1"}, false, {}},
        {{"speak", "--channel", "1", "--account", "5", "--wav", "a.wav", "--tone", "440", "--seconds", "1"},
         false,
         {}},
    };
    for (const CommandCase& test : cases) {
        std::string joined;
        for (const std::string_view arg : test.args) {
            joined += std::string(arg) + " ";
        }
        SCOPED_TRACE(joined);
        const ParsedCommandLine parsed = ParseCommandLine(test.args);
        ASSERT_EQ(parsed.commandLine.has_value(), test.valid) << parsed.error;
        if (test.valid) {
            EXPECT_EQ(parsed.commandLine->subcommand, test.subcommand);
        }
    }
}

TEST(CommandLineParsing, ValuesLandInTheirFields) {
    const std::vector<std::string_view> serve = {"serve", "--address", "10.1.2.3", "--port-base",
                                                 "40000", "--control", "0"};
    const CommandLine line = *ParseCommandLine(serve).commandLine;
    EXPECT_EQ(line.address, 0x0A010203u);
    EXPECT_EQ(line.portBase, 40000);
    EXPECT_EQ(line.controlPort, 0);
    EXPECT_EQ(*ParseCommandLine(std::vector<std::string_view>{"serve", "--error-level", "3"})
                   .commandLine->fixedErrorLevel,
              3);

    const CommandLine defaults = *ParseCommandLine(std::vector<std::string_view>{"serve"}).commandLine;
    EXPECT_EQ(defaults.address, 0x7F000001u);
    EXPECT_EQ(defaults.portBase, 30000);
    EXPECT_EQ(defaults.controlPort, 32000);
    EXPECT_FALSE(defaults.fixedErrorLevel) << "each client is told its own link's level";

    const std::vector<std::string_view> notice = {"notice", "240", "--to", "1234"};
    const CommandLine targeted = *ParseCommandLine(notice).commandLine;
    EXPECT_EQ(targeted.noticeCode, 240);
    EXPECT_FALSE(targeted.toAll);
    EXPECT_EQ(targeted.account, 1234);
}

} // namespace
} // namespace zelvora::network::testing
