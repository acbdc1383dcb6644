#include "platform/pause.h"

#include <chrono>
#include <thread>

void PauseMs(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
