#include "peripherals/synth_key_listener.h"

#include "peripherals/synth_link.h"
#include "session/push_to_talk.h"
#include "platform/udp_socket.h"
#include "udp_peer.h"

#include <gtest/gtest.h>

#include <memory>
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

} // namespace
