#pragma once

#include "core/endpoint.h"

#include <time.h>

namespace zelvora::network {

inline Micros MonotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<Micros>(now.tv_sec) * 1'000'000 + now.tv_nsec / 1000;
}

} // namespace zelvora::network
