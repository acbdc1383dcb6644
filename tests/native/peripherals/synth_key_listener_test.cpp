#include "peripherals/synth_key_listener.h"

#include "peripherals/synth_link.h"
#include "session/push_to_talk.h"
#include "platform/udp_socket.h"
#include "udp_peer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SynthKeyListener, KeyDatagramsPressAndReleaseTheTalkKey) {
    auto link = std::make_unique<SynthLink>();
    PushToTalk pushToTalk;
    link->synthSocket = OpenUdpSocket(LocalAddress::Loopback);
    ASSERT_NE(link->synthSocket, kInvalidSocket);
    UdpPeer synthesiser("127.0.0.44", 0);
    const sockaddr_in client = LoopbackEndpoint(LocalPort(link->synthSocket));
    struct Case {
        const char* name;
        int before;
        Bytes datagram;
        int after;
    } cases[] = {
        {"T presses", kPttListen, {'T'}, kPttTalk},
        {"R releases", kPttTalk, {'R'}, kPttListen},
        {"only byte 0 counts", kPttListen, {'T', 'R', 'R'}, kPttTalk},
        {"lower-case t", kPttListen, {'t'}, kPttListen},
        {"lower-case r", kPttTalk, {'r'}, kPttTalk},
        {"empty datagram", kPttTalk, {}, kPttTalk},
        {"other byte", kPttListen, {0x01, 'T'}, kPttListen},
    };
    for (const Case& c : cases) {
        pushToTalk.SetKeyState(c.before);
        synthesiser.SendTo(client, c.datagram);
        ListenForSynthKeyOnce(*link, pushToTalk, 20);
        EXPECT_EQ(pushToTalk.KeyState(), c.after) << c.name;
    }
    CloseUdpSocket(link->synthSocket);
}

// Shutdown asks the listener to end and wakes it: a minute's receive time-out must not hold the thread.
TEST(SynthKeyListener, WokenListenerEndsOnceAsked) {
    auto link = std::make_unique<SynthLink>();
    PushToTalk pushToTalk;
    link->synthSocket = OpenUdpSocket(LocalAddress::Loopback);
    ASSERT_TRUE(SetReceiveTimeout(link->synthSocket, 60000));
    std::atomic<bool> running{true};
    const auto start = std::chrono::steady_clock::now();
    std::thread listener([&] { RunSynthKeyListener(*link, pushToTalk, running, 0); });
    running = false;
    WakeSynthKeyListener(*link);
    listener.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(pushToTalk.KeyState(), kPttListen);
    CloseUdpSocket(link->synthSocket);
}

} // namespace
