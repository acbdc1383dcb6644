// The Winsock side of the client's UDP operations, the receive loop running on it, and the network threads.
#include "audio/playback_queue.h"
#include "net/protocol.h"
#include "net/voice_link.h"
#include "session/channels.h"
#include "session/shared_state.h"
#include "check.h"
#include "platform/udp_socket.h"
#include "net/sender_filter.h"
#include "net/voice_receiver.h"
#include "net/win32/network_threads.h"

#include <winsock2.h>
#include <windows.h>

#include <memory>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr char kLoopback[] = "127.0.0.1";

// The address a socket is bound to, in host byte order.
std::uint32_t BoundAddress(SocketHandle socket) {
    sockaddr_in local{};
    int size = sizeof local;
    CHECK(getsockname(static_cast<SOCKET>(socket), reinterpret_cast<sockaddr*>(&local), &size) == 0);
    return ntohl(local.sin_addr.s_addr);
}

void TestRoundTrip() {
    const SocketHandle sender = OpenUdpSocket(LocalAddress::Any);
    const SocketHandle receiver = OpenUdpSocket(LocalAddress::Any);
    CHECK(sender != kInvalidSocket && receiver != kInvalidSocket);
    const int port = LocalPort(receiver);
    CHECK(port > 0 && port != LocalPort(sender));

    CHECK(PollReadable(receiver, 50) == PollResult::TimedOut);
    CHECK(!DatagramWaiting(receiver));
    CHECK(SetReceiveTimeout(receiver, 50));
    std::uint8_t buffer[1024];
    Ipv4Endpoint from;
    CHECK(ReceiveDatagram(receiver, buffer, sizeof buffer, from) == kNothingReceived);
    const Bytes sent = {'A', 1, 2, 0, 0xFF};
    CHECK(SendDatagram(sender, kLoopback, port, sent.data(), sent.size()) == 5);
    CHECK(PollReadable(receiver, 1000) == PollResult::Readable);
    CHECK(DatagramWaiting(receiver));
    CHECK(ReceiveDatagram(receiver, buffer, sizeof buffer, from) == 5);
    CHECK(!DatagramWaiting(receiver));
    CHECK(Bytes(buffer, buffer + 5) == sent);
    CHECK(from.address == 0x7F000001 && from.port == LocalPort(sender));

    // An empty datagram is received as zero bytes.
    CHECK(SendDatagram(sender, kLoopback, port, buffer, 0) == 0);
    CHECK(PollReadable(receiver, 1000) == PollResult::Readable);
    CHECK(ReceiveDatagram(receiver, buffer, sizeof buffer, from) == 0);

    // A datagram longer than the buffer is dropped or cut, and the next one still arrives whole.
    const Bytes oversized(2000, 'x');
    SendDatagram(sender, kLoopback, port, oversized.data(), oversized.size());
    SendDatagram(sender, kLoopback, port, sent.data(), sent.size());
    CHECK(PollReadable(receiver, 1000) == PollResult::Readable);
    const int cut = ReceiveDatagram(receiver, buffer, sizeof buffer, from);
    CHECK(cut == kNothingReceived || cut == 1024);
    CHECK(PollReadable(receiver, 1000) == PollResult::Readable);
    CHECK(ReceiveDatagram(receiver, buffer, sizeof buffer, from) == 5);

    CloseUdpSocket(sender);
    CloseUdpSocket(receiver);
}

// A loopback socket listens on 127.0.0.1 alone, and local programs still reach it.
void TestLoopbackBinding() {
    const SocketHandle listener = OpenUdpSocket(LocalAddress::Loopback);
    const SocketHandle everywhere = OpenUdpSocket(LocalAddress::Any);
    CHECK(listener != kInvalidSocket && BoundAddress(listener) == 0x7F000001);
    CHECK(BoundAddress(everywhere) == 0);
    const std::uint8_t byte = 'T';
    CHECK(SendDatagram(everywhere, kLoopback, LocalPort(listener), &byte, 1) == 1);
    CHECK(PollReadable(listener, 1000) == PollResult::Readable);
    std::uint8_t buffer[16];
    Ipv4Endpoint from;
    CHECK(ReceiveDatagram(listener, buffer, sizeof buffer, from) == 1);
    CloseUdpSocket(everywhere);
    CloseUdpSocket(listener);
}

void TestUnusableSocketsAndAddresses() {
    std::uint8_t buffer[16] = {};
    CHECK(PollReadable(kInvalidSocket, 0) == PollResult::Failed);
    CHECK(!DatagramWaiting(kInvalidSocket));
    CHECK(SendDatagram(kInvalidSocket, kLoopback, 5555, buffer, 1) == -1);
    Ipv4Endpoint from;
    CHECK(ReceiveDatagram(kInvalidSocket, buffer, sizeof buffer, from) == -1);
    CHECK(LocalPort(kInvalidSocket) == 0);

    const SocketHandle socket = OpenUdpSocket(LocalAddress::Any);
    const char* badAddresses[] = {"", "localhost", "127.0.0", "256.0.0.1", nullptr};
    for (const char* address : badAddresses) {
        CHECK(SendDatagram(socket, address, 30000, buffer, 1) == -1);
    }
    CHECK(SendDatagram(socket, kLoopback, 0, buffer, 1) == -1);
    CHECK(SendDatagram(socket, kLoopback, 65536, buffer, 1) == -1);
    CloseUdpSocket(socket);
}

void TestReceiveLoopOnWinsock() {
    auto link = std::make_unique<VoiceLink>();
    auto shared = std::make_unique<SharedState>();
    auto queue = std::make_unique<PlaybackQueue>();
    link->voiceSocket = OpenUdpSocket(LocalAddress::Any);
    const SocketHandle server = OpenUdpSocket(LocalAddress::Any);
    const SenderFilter fromServer = SenderFilter::OnlyFrom(kLoopback);
    VoiceReceiver receiver(*link, *shared, *queue);
    receiver.Start();
    Bytes relayed(1024, 0);
    relayed[0] = 'A';
    relayed[1] = 5;
    relayed[3] = 0x34;
    relayed[4] = 0x12;
    relayed[5] = 1;
    relayed[7] = 1;
    relayed[24] = 0x39;
    relayed[25] = 0x30;
    SendDatagram(server, kLoopback, LocalPort(link->voiceSocket), relayed.data(), relayed.size());
    receiver.ReceiveOnce(fromServer, 1000);
    CHECK(link->speakerAccount == 0x1234);
    CHECK(link->errorLevel == 1);
    CHECK(queue->Fill() == 6);
    std::uint8_t block[kPlaybackBlockBytes];
    queue->TakeNextBlock(block);
    CHECK(block[kCaptureBlockBytes] == 0x39 && block[kCaptureBlockBytes + 1] == 0x30); // slot 5

    // A socket that cannot be polled costs the poll time, so the loop never spins.
    CloseUdpSocket(link->voiceSocket);
    link->voiceSocket = kInvalidSocket;
    const ULONGLONG start = GetTickCount64();
    receiver.ReceiveOnce(fromServer, 200);
    CHECK(GetTickCount64() - start >= 180);
    CHECK(link->errorLevel == 99);
    CloseUdpSocket(server);
}

// A socket on every address at `port`, standing in for the voice server's side of a channel.
SocketHandle BindPort(int port) {
    const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(static_cast<u_short>(port));
    CHECK(s != INVALID_SOCKET && bind(s, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0);
    return static_cast<SocketHandle>(s);
}

// Shutdown asks the network threads to stop and waits for them: each must end within a round of its loop.
void TestNetworkThreadsEndWhenAsked() {
    auto link = std::make_unique<VoiceLink>();
    auto shared = std::make_unique<SharedState>();
    auto queue = std::make_unique<PlaybackQueue>();
    link->voiceSocket = OpenUdpSocket(LocalAddress::Any);
    link->supervisorSocket = OpenUdpSocket(LocalAddress::Any);
    const SocketHandle channel = BindPort(kFirstChannelPort);
    const SocketHandle supervisor = BindPort(kFirstChannelPort + kSupervisorPortOffset);
    VoiceNetwork network{*link, *shared, *queue, [](SupervisorNotice) {}};
    const LPTHREAD_START_ROUTINE bodies[] = {PresenceThread, VoiceReceiveThread, SupervisorThread};
    HANDLE threads[3];
    for (int i = 0; i < 3; ++i) {
        threads[i] = CreateThread(nullptr, 0, bodies[i], &network, 0, nullptr);
        CHECK(threads[i] != nullptr);
    }
    // Running: presence datagrams and a supervisor request come in.
    CHECK(PollReadable(channel, 10000) == PollResult::Readable);
    CHECK(PollReadable(supervisor, 10000) == PollResult::Readable);
    network.stop.Request();
    CHECK(WaitForMultipleObjects(3, threads, TRUE, 10000) == WAIT_OBJECT_0);
    for (HANDLE thread : threads) {
        CloseHandle(thread);
    }
    for (SocketHandle socket :
         {link->voiceSocket.load(), link->supervisorSocket.load(), channel, supervisor}) {
        CloseUdpSocket(socket);
    }
}

} // namespace

int main() {
    CHECK(StartSocketLibrary());
    TestRoundTrip();
    TestLoopbackBinding();
    TestUnusableSocketsAndAddresses();
    TestReceiveLoopOnWinsock();
    TestNetworkThreadsEndWhenAsked();
    CleanupSocketLibrary();
    return CheckSummary("net_sockets_test");
}
