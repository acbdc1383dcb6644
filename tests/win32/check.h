#pragma once

#include <cstdio>

// Failures are printed and counted; a test program's exit code is their number.
inline int gCheckFailures = 0;

#define CHECK(condition)                                                                                     \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::printf("%s:%d: FAILED: %s\n", __FILE__, __LINE__, #condition);                              \
            ++gCheckFailures;                                                                                \
        }                                                                                                    \
    } while (0)

inline int CheckSummary(const char* program) {
    std::printf("%s: %d failure(s)\n", program, gCheckFailures);
    std::fflush(stdout);
    return gCheckFailures;
}
