#pragma once

#include "platform/socket_handle.h"

#include <cstddef>
#include <cstdint>

// The few UDP operations the client needs, over Winsock on Windows and BSD sockets elsewhere.
// Every operation on an invalid socket fails without effect.

// Starts the socket library (Winsock 2.2); every successful start is paired with one cleanup.
bool StartSocketLibrary();
void CleanupSocketLibrary();

// Where a socket listens: on every address of the machine, or on 127.0.0.1 only (out of reach of other
// hosts).
enum class LocalAddress { Any, Loopback };

// An IPv4 UDP socket bound to `local` and an ephemeral port; invalid when creation or binding failed (the
// half-made socket is then already closed).
SocketHandle OpenUdpSocket(LocalAddress local);
void CloseUdpSocket(SocketHandle socket);

// Sends to a dotted-decimal IPv4 address, converted on every call; the byte count sent, or -1.
int SendDatagram(SocketHandle socket, const char* ipv4Address, int port, const std::uint8_t* data,
                 std::size_t length);

enum class PollResult { Readable, TimedOut, Failed };

// Waits up to `timeoutMs` for a datagram (normal or priority band) to be readable.
PollResult PollReadable(SocketHandle socket, int timeoutMs);

// Whether a datagram of at least one byte waits on the socket, asked without waiting. Under Wine this costs
// no round trip to the server, where a poll costs one or two.
bool DatagramWaiting(SocketHandle socket);

// Makes each receive on the socket give up after `timeoutMs`; false when the socket refused it.
bool SetReceiveTimeout(SocketHandle socket, int timeoutMs);

// What ReceiveDatagram returns when nothing usable came: the receive time-out passed, or the datagram was
// longer than the buffer and dropped.
inline constexpr int kNothingReceived = -2;

// Who sent a datagram: an IPv4 address in host byte order (127.0.0.1 is 0x7F000001) and a port.
struct Ipv4Endpoint {
    std::uint32_t address = 0;
    int port = 0;
};

// Receives one datagram from any sender into `buffer`, and its sender into `sender`, waiting as long as the
// socket's receive time-out allows (for ever without one); the byte count received, kNothingReceived, or -1
// when the socket failed. `sender` is set only when a datagram was received.
int ReceiveDatagram(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity, Ipv4Endpoint& sender);

// The local port the system chose for a bound socket, or 0.
int LocalPort(SocketHandle socket);
