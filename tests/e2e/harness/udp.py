"""Stand-in UDP peers on loopback: record every datagram with its arrival time, answer its sender."""

import socket
import struct
import threading
import time
from dataclasses import dataclass

# Linux's SO_TIMESTAMPNS (the socket module does not name it): the kernel's arrival time of each datagram,
# as a timespec of the real-time clock.
_SO_TIMESTAMPNS = 35
_TIMESPEC = struct.Struct("@qq")


@dataclass(frozen=True)
class Datagram:
    data: bytes
    source: tuple  # (host, port) of the sender
    time: float  # time.monotonic() at arrival, as the kernel saw it: a busy test thread does not delay it


def _arrival(ancillary):
    """The kernel's arrival time on the monotonic clock; the time of reading when the kernel gave none."""
    # The real-time clock read first: a pause between the two readings then makes the arrival late, never earlier
    # than the datagram was sent.
    real = time.time()
    now = time.monotonic()
    for level, kind, value in ancillary:
        if level == socket.SOL_SOCKET and kind == _SO_TIMESTAMPNS and len(value) >= _TIMESPEC.size:
            seconds, nanoseconds = _TIMESPEC.unpack_from(value)
            return now - max(0.0, real - (seconds + nanoseconds / 1e9))
    return now


class UdpPeer:
    """Listens on host:port (port 0: any free port) until closed; use as a context manager."""

    def __init__(self, port, host="127.0.0.1"):
        self._socket = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self._socket.bind((host, port))
        self.address = self._socket.getsockname()
        self._socket.setsockopt(socket.SOL_SOCKET, _SO_TIMESTAMPNS, 1)
        self._socket.settimeout(0.1)
        self._received = []
        self._arrived = threading.Condition()
        self._running = True
        self._thread = threading.Thread(target=self._receive, daemon=True)
        self._thread.start()

    def _receive(self):
        while self._running:
            try:
                data, ancillary, _, source = self._socket.recvmsg(65536, socket.CMSG_SPACE(_TIMESPEC.size))
            except socket.timeout:
                continue
            except OSError:
                return
            with self._arrived:
                # Datagrams are read in their order of arrival, whatever a pause did to one reading of the clocks.
                arrival = max(_arrival(ancillary), self._received[-1].time if self._received else 0.0)
                self._received.append(Datagram(data, source, arrival))
                self._arrived.notify_all()

    def datagrams(self):
        with self._arrived:
            return list(self._received)

    def wait_for(self, predicate=lambda d: True, count=1, timeout=10):
        """The first `count` datagrams that satisfy the predicate, waiting for them up to `timeout` s."""
        deadline = time.monotonic() + timeout
        with self._arrived:
            while True:
                matching = [d for d in self._received if predicate(d)]
                if len(matching) >= count:
                    return matching[:count]
                left = deadline - time.monotonic()
                if left <= 0:
                    raise TimeoutError(f"{len(matching)} of {count} datagrams at {self.address} after {timeout} s")
                self._arrived.wait(left)

    def send(self, data, destination):
        self._socket.sendto(data, destination)

    def reply(self, datagram, data):
        """Answers the sender of a recorded datagram."""
        self.send(data, datagram.source)

    def close(self):
        self._running = False
        self._thread.join()
        self._socket.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
