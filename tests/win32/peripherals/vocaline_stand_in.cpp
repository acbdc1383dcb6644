// Stands in for the companion speech synthesiser in the end-to-end tests: listens on 127.0.0.1:5555, notes
// in "vocaline.log" of its working folder that it started and each datagram's first byte, and ends on the
// stop datagram (or after two minutes, so a failed test leaves nothing running).
#include <winsock2.h>

#include <cstdio>

namespace {

void Note(const char* line) {
    if (FILE* log = std::fopen("vocaline.log", "a")) {
        std::fputs(line, log);
        std::fputc('\n', log);
        std::fclose(log);
    }
}

} // namespace

int main() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        return 1;
    }
    SOCKET listener = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(5555);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (listener == INVALID_SOCKET ||
        bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        Note("cannot listen");
        return 1;
    }
    const DWORD timeoutMs = 120000;
    setsockopt(listener, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs),
               sizeof timeoutMs);
    Note("started");
    char datagram[1024];
    for (;;) {
        const int received = recv(listener, datagram, sizeof datagram, 0);
        if (received <= 0) {
            Note("timed out");
            return 2;
        }
        if (static_cast<unsigned char>(datagram[0]) == 0xFF) {
            Note("stop");
            return 0;
        }
        Note("text");
    }
}
