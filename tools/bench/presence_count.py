"""Counts the presence datagrams ('R.' to a channel port) each UDP port sends over loopback, by listening on
the loopback interface: the bench runs as root in a network namespace of its own, so it sees only its own
programs' datagrams. A program paced by Sleep sends fewer of them on a loaded machine, so its processor time
per presence datagram moves less with the load than its processor time per second."""

import contextlib
import socket
import struct
import threading

FIRST_CHANNEL_PORT = 30000
LAST_CHANNEL_PORT = 30010
ETH_P_IP = 0x0800
UDP = 17


def presence_source_port(packet):
    """The UDP source port of an IPv4 packet carrying a presence datagram to a channel port, else None."""
    if len(packet) < 20 or packet[0] >> 4 != 4 or packet[9] != UDP:
        return None
    header = (packet[0] & 0x0F) * 4
    if len(packet) < header + 10:
        return None
    source, destination = struct.unpack_from("!HH", packet, header)
    if not FIRST_CHANNEL_PORT <= destination <= LAST_CHANNEL_PORT or packet[header + 8:header + 10] != b"R.":
        return None
    return source


class PresenceCounter:
    """Presence datagrams counted by source port while the context lasts; `counts()` is a snapshot. Without
    the privilege to listen, `available` is false and nothing is counted."""

    def __enter__(self):
        self._counts = {}
        self._lock = threading.Lock()
        self._stop = threading.Event()
        try:
            # Cooked IPv4 packets, without the link header.
            self._socket = socket.socket(socket.AF_PACKET, socket.SOCK_DGRAM, socket.htons(ETH_P_IP))
            self._socket.bind(("lo", ETH_P_IP))
        except OSError:
            self._socket = None
            return self
        self._socket.settimeout(0.5)
        self._thread = threading.Thread(target=self._listen, daemon=True)
        self._thread.start()
        return self

    @property
    def available(self):
        return self._socket is not None

    def _listen(self):
        while not self._stop.is_set():
            try:
                packet, address = self._socket.recvfrom(2048)
            except socket.timeout:
                continue
            except OSError:
                return
            # Loopback shows each packet leaving and arriving: the arrival alone counts.
            if address[2] == socket.PACKET_OUTGOING:
                continue
            port = presence_source_port(packet)
            if port is not None:
                with self._lock:
                    self._counts[port] = self._counts.get(port, 0) + 1

    def counts(self):
        with self._lock:
            return dict(self._counts)

    def __exit__(self, *exc):
        self._stop.set()
        if self._socket is not None:
            self._thread.join()
            with contextlib.suppress(OSError):
                self._socket.close()
