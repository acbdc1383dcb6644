#include "web_log.h"

#include <cstdio>
#include <ctime>
#include <mutex>

namespace zelvora::web {

void LogLine(const std::string& text) {
    static std::mutex mutex;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    std::lock_guard lock(mutex);
    std::printf("%02d:%02d:%02d.%03ld %s\n", local.tm_hour, local.tm_min, local.tm_sec,
                now.tv_nsec / 1'000'000, text.c_str());
    std::fflush(stdout);
}

std::string Printable(const std::string& text) {
    constexpr std::size_t kMaxLength = 160;
    std::string printable;
    for (const char c : text.substr(0, kMaxLength)) {
        printable += c >= 0x20 && c < 0x7F ? c : '?';
    }
    return text.size() > kMaxLength ? printable + "..." : printable;
}

} // namespace zelvora::web
