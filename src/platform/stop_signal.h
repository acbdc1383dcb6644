#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

// Tells a thread's loop to end: the loop reads Running() once a round, and a pause taken here ends as soon as
// the stop is asked, so the thread need not sleep it out. Each pause costs a wait on a kernel object, which
// under Wine is a server round trip: for loops that pause a few times a second, not for fast-paced ones.
class StopSignal {
  public:
    void Request();
    const std::atomic<bool>& Running() const { return running_; }

    // Pauses `milliseconds`, or less when the stop is asked meanwhile.
    void PauseMs(int milliseconds);

  private:
    std::atomic<bool> running_{true};
    std::mutex mutex_;
    std::condition_variable asked_;
};
