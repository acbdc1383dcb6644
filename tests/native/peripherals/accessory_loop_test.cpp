#include "peripherals/accessory_loop.h"
#include "peripherals/accessory_probe.h"
#include "peripherals/usb_adapters.h"
#include "peripherals/usb_icon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace {

TEST(UsbAdapters, MatchesBothTextsOfOneRowWithTheirCase) {
    EXPECT_TRUE(IsSupportedAdapter("FTDIBUS\\COMPORT&VID_0403&PID_6001"));
    EXPECT_TRUE(IsSupportedAdapter("USB\\VID_1782&PID_4D12&REV_0100"));
    EXPECT_FALSE(IsSupportedAdapter("FTDIBUS\\COMPORT&VID_0403&PID_6002"));
    EXPECT_FALSE(IsSupportedAdapter("ftdibus\\comport&vid_0403&pid_6001"));
    EXPECT_FALSE(IsSupportedAdapter("USB\\VID_0403&PID_EA60")); // vendor and product of different rows
    EXPECT_FALSE(IsSupportedAdapter(""));
}

std::vector<std::uint8_t> Bytes(const char* text) {
    return {text, text + std::strlen(text)};
}

TEST(AccessoryProbe, OnlyAReplyBeginningWithTheWholeProbeMeansPressed) {
    EXPECT_FALSE(ReplyMeansKeyPressed(Bytes("PXXXXXX")));
    EXPECT_TRUE(ReplyMeansKeyPressed(Bytes("PXXXXXXXPXXX")));
    EXPECT_FALSE(ReplyMeansKeyPressed(Bytes("XPXXXXXXX")));
    EXPECT_FALSE(ReplyMeansKeyPressed({}));
}

// A serial port whose replies are scripted: a text per probe, "!" for a failed read; writes fail once the
// script is spent (the adapter was unplugged).
class ScriptedPort : public SerialPort {
  public:
    explicit ScriptedPort(std::deque<std::string>& replies, int& openPorts)
        : replies_(replies), open_(openPorts) {
        ++open_;
    }
    ~ScriptedPort() override { --open_; }
    bool Write(std::span<const std::uint8_t> bytes) override {
        return !replies_.empty() && std::equal(bytes.begin(), bytes.end(), std::begin(kAccessoryProbe));
    }
    int Read(std::span<std::uint8_t> bytes) override {
        const std::string reply = replies_.front();
        replies_.pop_front();
        if (reply == "!") {
            return -1;
        }
        const std::size_t size = std::min(reply.size(), bytes.size());
        std::memcpy(bytes.data(), reply.data(), size);
        return static_cast<int>(size);
    }

  private:
    std::deque<std::string>& replies_;
    int& open_;
};

// Records what the loop does; asks it to stop after `pausesBeforeStop` pauses, a wait for a device notice
// of N ms being recorded as a pause of -N.
class FakeSystem : public AccessorySystem {
  public:
    bool KeepRunning() override { return running; }
    bool FindAdapterPort(std::span<char, kPortNameBytes> portName) override {
        ++searches;
        if (!adapterPresent) {
            return false;
        }
        std::strcpy(portName.data(), "COM7");
        return true;
    }
    std::unique_ptr<SerialPort> OpenPort(const char* portName) override {
        EXPECT_STREQ(portName, "COM7");
        events.push_back("open");
        if (!portOpens) {
            return nullptr;
        }
        adapterPresent = false; // one plug-in per test
        return std::make_unique<ScriptedPort>(replies, openPorts);
    }
    void Pause(int milliseconds) override {
        pauses.push_back(milliseconds);
        if (static_cast<int>(pauses.size()) == pausesBeforeStop) {
            running = false;
        }
    }
    void WaitForDeviceNotice(int milliseconds) override { Pause(-milliseconds); }
    void SetIconState(int state) override {
        EXPECT_EQ(openPorts, state == kUsbIconBlack ? 0 : 1)
            << "the black icon comes after the port is closed";
        events.push_back("icon " + std::to_string(state));
    }
    void SetKeyPressed(bool pressed) override { events.push_back(pressed ? "press" : "release"); }

    bool running = true;
    bool adapterPresent = true;
    bool portOpens = true;
    int pausesBeforeStop = 0;
    int searches = 0;
    int openPorts = 0;
    std::deque<std::string> replies;
    std::vector<std::string> events;
    std::vector<int> pauses;
};

TEST(AccessoryLoop, KeyFollowsTheEchoAndAFailedReadChangesNothing) {
    FakeSystem system;
    system.replies = {"", "PXXXXXXX", "!", "PXXXXXX"};
    system.pausesBeforeStop = 4;
    RunAccessoryLoop(system);
    const std::vector<std::string> expected = {"open",  "icon 2", "icon 2",  "release", "icon 3",
                                               "press", "icon 2", "release", "release", "icon 1"};
    EXPECT_EQ(system.events, expected);
    EXPECT_EQ(system.pauses, std::vector<int>(4, kProbeIntervalMs));
}

TEST(AccessoryLoop, UnplugWhileKeyPressedReleasesItAndSearchesAgainAfterTheWait) {
    FakeSystem system;
    system.replies = {"PXXXXXXXPXXX"};
    system.pausesBeforeStop = 3;
    RunAccessoryLoop(system);
    const std::vector<std::string> expected = {"open", "icon 2", "icon 3", "press", "release", "icon 1"};
    EXPECT_EQ(system.events, expected);
    EXPECT_EQ(system.pauses, (std::vector<int>{kProbeIntervalMs, -kSearchFallbackMs, -kSearchFallbackMs}));
    EXPECT_EQ(system.searches, 2);
    EXPECT_EQ(system.openPorts, 0);
}

TEST(AccessoryLoop, PortThatCannotBeOpenedIsRetriedOnlyAfterTheWait) {
    FakeSystem system;
    system.portOpens = false;
    system.pausesBeforeStop = 2;
    RunAccessoryLoop(system);
    EXPECT_EQ(system.searches, 2);
    EXPECT_EQ(system.pauses, std::vector<int>(2, -kSearchFallbackMs));
    EXPECT_EQ(std::count(system.events.begin(), system.events.end(), "open"), 2);
}

TEST(AccessoryLoop, StopDuringTheWaitEndsWithoutAnotherSearch) {
    FakeSystem system;
    system.adapterPresent = false;
    system.pausesBeforeStop = 1;
    RunAccessoryLoop(system);
    EXPECT_EQ(system.pauses, std::vector<int>{-kSearchFallbackMs});
    EXPECT_EQ(system.searches, 1);
    EXPECT_TRUE(system.events.empty());
}

} // namespace
