#pragma once

#include <new>

// One object of T built on first use in static storage and never destroyed: threads that nobody stops still
// use it as the process ends.
template <typename T> T& LivesForTheRun() {
    alignas(T) static unsigned char storage[sizeof(T)];
    static T* const object = new (storage) T();
    return *object;
}
