#include "app/session_state.h"

#include <new>

SessionState& Session() {
    // Built in static storage and never destroyed: threads that nobody stops still use it as the process
    // ends.
    alignas(SessionState) static unsigned char storage[sizeof(SessionState)];
    static SessionState* const session = new (storage) SessionState();
    return *session;
}
