#include "platform/stop_signal.h"

#include <chrono>

void StopSignal::Request() {
    {
        const std::lock_guard lock(mutex_);
        running_.store(false);
    }
    asked_.notify_all();
}

void StopSignal::PauseMs(int milliseconds) {
    std::unique_lock lock(mutex_);
    asked_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return !running_.load(); });
}
