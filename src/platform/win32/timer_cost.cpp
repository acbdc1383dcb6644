#include "platform/win32/timer_cost.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kMaxRoutines = 16;
constexpr ULONGLONG kReportPeriodMs = 5000;

struct RoutineCost {
    const char* routine = nullptr;
    long long calls = 0;
    long long ticks = 0;
};

RoutineCost costs[kMaxRoutines];
ULONGLONG lastReport = 0;

long long Now() {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

void Record(const char* routine, long long ticks) {
    for (RoutineCost& cost : costs) {
        if (cost.routine == nullptr || std::strcmp(cost.routine, routine) == 0) {
            cost.routine = routine;
            ++cost.calls;
            cost.ticks += ticks;
            return;
        }
    }
}

void ReportEveryPeriod() {
    const ULONGLONG now = GetTickCount64();
    if (lastReport == 0) {
        lastReport = now;
    }
    if (now - lastReport < kReportPeriodMs) {
        return;
    }
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    const double secondsMeasured = static_cast<double>(now - lastReport) / 1000.0;
    for (RoutineCost& cost : costs) {
        if (cost.routine == nullptr) {
            break;
        }
        const double totalMs =
            1000.0 * static_cast<double>(cost.ticks) / static_cast<double>(frequency.QuadPart);
        std::fprintf(stderr,
                     "timer cost %-16s %5lld calls in %.1f s, %8.2f ms in all, %6.3f ms each, %5.2f %%\n",
                     cost.routine, cost.calls, secondsMeasured, totalMs,
                     cost.calls > 0 ? totalMs / static_cast<double>(cost.calls) : 0.0,
                     totalMs / (10.0 * secondsMeasured));
        cost.calls = 0;
        cost.ticks = 0;
    }
    std::fflush(stderr);
    lastReport = now;
}

} // namespace

TimerCost::TimerCost(const char* routine) : routine_(routine), start_(Now()) {}

TimerCost::~TimerCost() {
    Record(routine_, Now() - start_);
    ReportEveryPeriod();
}
