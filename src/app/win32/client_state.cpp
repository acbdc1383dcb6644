#include "app/win32/client_state.h"

#include <new>

ClientState& Client() {
    // Built in static storage and never destroyed: threads that nobody stops still use it as the process
    // ends.
    alignas(ClientState) static unsigned char storage[sizeof(ClientState)];
    static ClientState* const client = new (storage) ClientState();
    return *client;
}
