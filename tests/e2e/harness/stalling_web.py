"""Stand-ins for a web service that stalls, on port 443 of the test's own network namespace (where the client
looks for its service): `StallingWebService("handshake")` accepts every connection and never says a word, so
the TLS handshake never ends; `StallingWebService("body")` answers every request with a 200 and its headers,
then trickles the body a byte every 4 s without ever finishing it; a request that carries a body of its own (an
upload) it neither reads nor answers.

    with StallingWebService("body") as web, Client("stalled") as c:
        web.wait_for_connections(1)"""

import socket
import ssl
import threading
import time

from launcher.prefix import ensure_web_certificates

TRICKLE_INTERVAL = 4.0
HEADERS = b"HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nContent-Length: 1000000\r\n\r\n"


def body_length(request):
    """The Content-Length of a request's headers, 0 without one."""
    for line in request.split(b"\r\n\r\n", 1)[0].split(b"\r\n")[1:]:
        name, _, value = line.partition(b":")
        if name.strip().lower() == b"content-length":
            return int(value)
    return 0


class StallingWebService:
    def __init__(self, stall, port=443):
        if stall not in ("handshake", "body"):
            raise ValueError(f"no such stall: {stall}")
        self.stall = stall
        self.port = port
        self._accepted = 0
        self._ended = 0
        self._held = []
        self._changed = threading.Condition()
        self._stopping = threading.Event()
        self._threads = []

    def __enter__(self):
        certificates = ensure_web_certificates()
        self._tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        self._tls.load_cert_chain(certificates / "server.pem", certificates / "server.key")
        self._listeners = []
        # The client asks for localhost: whichever address it picks, the stand-in is there.
        for family, address in ((socket.AF_INET, "127.0.0.1"), (socket.AF_INET6, "::1")):
            listener = socket.socket(family, socket.SOCK_STREAM)
            listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            try:
                listener.bind((address, self.port))
            except OSError:
                listener.close()
                if family == socket.AF_INET:
                    raise
                continue
            listener.listen(16)
            listener.settimeout(0.2)
            self._listeners.append(listener)
            self._start(self._accept, listener)
        return self

    def __exit__(self, *exc):
        self._stopping.set()
        for thread in self._threads:
            thread.join(10)
        for connection in self._held:
            connection.close()
        for listener in self._listeners:
            listener.close()

    def _start(self, target, *args):
        thread = threading.Thread(target=target, args=args, daemon=True)
        self._threads.append(thread)
        thread.start()

    def _accept(self, listener):
        while not self._stopping.is_set():
            try:
                connection, _ = listener.accept()
            except socket.timeout:
                continue
            with self._changed:
                self._accepted += 1
                self._held.append(connection)
                self._changed.notify_all()
            if self.stall == "body":
                self._start(self._trickle, connection)

    def _trickle(self, connection):
        try:
            connection.settimeout(30)
            tls = self._tls.wrap_socket(connection, server_side=True)
            request = b""
            while b"\r\n\r\n" not in request:
                received = tls.recv(4096)
                if not received:
                    raise ConnectionError("the client left before its request ended")
                request += received
            if body_length(request) > 0:
                # An upload: its body is left unread and unanswered, so that it stops moving.
                self._stopping.wait()
                return
            tls.sendall(HEADERS)
            # A byte each interval, until the client closes its side.
            tls.settimeout(TRICKLE_INTERVAL)
            while not self._stopping.is_set():
                try:
                    if not tls.recv(1):
                        break
                except socket.timeout:
                    tls.sendall(b"\x89")
        except (OSError, ConnectionError):
            pass
        with self._changed:
            self._ended += 1
            self._changed.notify_all()

    def connections(self):
        """How many connections the client has opened so far."""
        with self._changed:
            return self._accepted

    def wait_for_connections(self, count, timeout=60):
        """Waits until the client has opened `count` connections in all."""
        self._wait(lambda: self._accepted >= count, timeout, f"{count} connections")

    def wait_for_ended(self, count, timeout=60):
        """Waits until `count` connections have ended on the client's side ("body" only)."""
        self._wait(lambda: self._ended >= count, timeout, f"{count} connections ended")

    def _wait(self, condition, timeout, what):
        deadline = time.monotonic() + timeout
        with self._changed:
            while not condition():
                left = deadline - time.monotonic()
                if left <= 0:
                    raise TimeoutError(f"no {what} after {timeout} s")
                self._changed.wait(left)
