#pragma once

// With the ZELVORA_TIMER_COSTS build option, each timer routine that holds a TimerCost for its length is
// counted and timed, and every five seconds one line per routine goes to standard error: calls, total and
// mean time. Without it, nothing is measured. Timer routines run on the main window's thread only.
class TimerCost {
  public:
#ifdef ZELVORA_TIMER_COSTS
    explicit TimerCost(const char* routine);
    ~TimerCost();
#else
    explicit TimerCost(const char*) {}
#endif
    TimerCost(const TimerCost&) = delete;
    TimerCost& operator=(const TimerCost&) = delete;

#ifdef ZELVORA_TIMER_COSTS
  private:
    const char* routine_;
    long long start_;
#endif
};
