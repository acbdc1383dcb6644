#include "stdout_log.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <ctime>
#include <poll.h>
#include <unistd.h>

namespace zelvora::network {

void StdoutLog::Line(const std::string& text) {
    pollfd output{STDOUT_FILENO, POLLOUT, 0};
    if (poll(&output, 1, 0) != 1 || (output.revents & POLLOUT) == 0) {
        ++dropped_;
        return;
    }
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    // A pipe that polls writable takes a write of up to PIPE_BUF bytes whole, without blocking.
    char line[PIPE_BUF];
    int length = 0;
    if (dropped_ > 0) {
        length = std::snprintf(line, sizeof line, "(%llu log lines dropped: nobody was reading)\n",
                               static_cast<unsigned long long>(dropped_));
        dropped_ = 0;
    }
    length += std::snprintf(line + length, sizeof line - static_cast<std::size_t>(length),
                            "%02d:%02d:%02d.%03ld %s\n", local.tm_hour, local.tm_min, local.tm_sec,
                            now.tv_nsec / 1'000'000, text.c_str());
    const auto size = std::min(static_cast<std::size_t>(length), sizeof line - 1);
    if (write(STDOUT_FILENO, line, size) < 0) {
        ++dropped_;
    }
}

} // namespace zelvora::network
