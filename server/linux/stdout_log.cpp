#include "stdout_log.h"

#include <cstdio>
#include <ctime>

namespace zelvora::network {

StdoutLog::StdoutLog() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
}

void StdoutLog::Line(const std::string& text) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    std::printf("%02d:%02d:%02d.%03ld %s\n", local.tm_hour, local.tm_min, local.tm_sec,
                now.tv_nsec / 1'000'000, text.c_str());
}

} // namespace zelvora::network
